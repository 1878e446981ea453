#include "encoding/EncoderLibrary.h"

#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "support/RecordingPrompt.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace BladeEnc;

namespace {
std::uint32_t Field(const CEncoderLibrary::Config& config, size_t offset) {
    return ReadLe32(config.data(), offset);
}
} // namespace

TEST(EncoderLibraryTest, ConfigRecordCarriesCbrOptionsAndZeroesTheRest) {
    CAppSettings settings;
    settings.m_nVbrMinBitrate = 32;
    settings.m_bCrc = 1;
    settings.m_bOriginal = 1;
    CTrackItem track(settings);
    track.m_strTitle = std::string(300, 'x');
    const CEncoderLibrary::Config config = CEncoderLibrary::BuildEncoderConfig(track, 48000);
    EXPECT_EQ(Field(config, 0), 256u);
    EXPECT_EQ(Field(config, 4), 1u);
    EXPECT_EQ(Field(config, 8), 327u);
    EXPECT_EQ(Field(config, 12), 48000u);
    EXPECT_EQ(Field(config, 16), 44100u);
    EXPECT_EQ(Field(config, 20), 0u); // stereo
    EXPECT_EQ(Field(config, 24), 160u);
    EXPECT_EQ(Field(config, 28), 0u);
    EXPECT_EQ(Field(config, 36), 1u); // MPEG-1
    EXPECT_EQ(Field(config, 48), 0u);
    EXPECT_EQ(Field(config, 52), 1u);
    EXPECT_EQ(Field(config, 60), 1u);
    EXPECT_EQ(Field(config, 64), 1u); // the Info frame, for gapless playback
    EXPECT_EQ(Field(config, 68), 0u);
    EXPECT_EQ(Field(config, 72), 0u);
    EXPECT_TRUE(std::all_of(config.begin() + 76, config.end(), [](auto b) { return b == 0; }));
}

TEST(EncoderLibraryTest, ConfigRecordCarriesVbrBoundsModeAndVersion) {
    CAppSettings settings;
    settings.m_bVbr = 1;
    settings.m_nVbrMinBitrate = 64;
    settings.m_nVbrMaxBitrate = 144;
    settings.m_nVbrQuality = 7;
    settings.m_nMpegVersion = 1;
    CTrackItem track(settings);
    const CEncoderLibrary::Config config = CEncoderLibrary::BuildEncoderConfig(track, 22050);
    EXPECT_EQ(Field(config, 24), 64u);
    EXPECT_EQ(Field(config, 28), 144u);
    EXPECT_EQ(Field(config, 36), 0u);
    EXPECT_EQ(Field(config, 64), 1u);
    EXPECT_EQ(Field(config, 68), 1u);
    EXPECT_EQ(Field(config, 72), 7u);

    const std::pair<unsigned, std::uint32_t> modes[] = {{0, 3}, {1, 1}, {2, 0}, {3, 2}, {9, 0}};
    for (const auto& [channelMode, encoderMode] : modes) {
        track.m_nChannelMode = channelMode;
        EXPECT_EQ(Field(CEncoderLibrary::BuildEncoderConfig(track, 44100), 20), encoderMode)
            << channelMode;
    }
}

TEST(EncoderLibraryTest, MissingLibraryOrEntryPointShowsItsMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"/nonexistent/liblame_enc.so", "Error at loading dynamic library!"},
        {WAVSMITH_STAND_IN_WITHOUT_INIT, "NOT all right with pointer on function beInitStream!"},
        {WAVSMITH_STAND_IN_WITHOUT_ENCODE, "NOT all right with pointer on function beEncodeChunk!"},
        {WAVSMITH_STAND_IN_WITHOUT_DEINIT,
         "NOT all right with pointer on function beDeinitStream!"},
        {WAVSMITH_STAND_IN_WITHOUT_VBR_HEADER,
         "NOT all right with pointer on function beWriteVBRHead!"},
        {WAVSMITH_STAND_IN_WITHOUT_CLOSE, "NOT all right with pointer on function beCloseStream!"},
    };
    for (const auto& [path, message] : cases) {
        CRecordingPrompt prompt;
        CEncoderLibrary library;
        EXPECT_FALSE(library.LoadEncoderLibrary(prompt, path));
        ASSERT_EQ(prompt.Entries().size(), 1u) << path;
        EXPECT_EQ(prompt.Entries()[0].m_strText, message);
    }
    CRecordingPrompt prompt;
    CEncoderLibrary library;
    EXPECT_TRUE(library.LoadEncoderLibrary(prompt, WAVSMITH_LAME_ENC_PATH));
    EXPECT_TRUE(prompt.Entries().empty());
    library.ReleaseEncoderLibrary();
    EXPECT_FALSE(library.IsLoaded());
}
