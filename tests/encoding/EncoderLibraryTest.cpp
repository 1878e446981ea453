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
    // Offset and value: stereo at 20, MPEG-1 at 36, the Info frame (for gapless playback)
    // at 64.
    const std::pair<size_t, std::uint32_t> fields[] = {
        {0, 256}, {4, 1},  {8, 327}, {12, 48000}, {16, 44100}, {20, 0}, {24, 160}, {28, 0},
        {36, 1},  {48, 0}, {52, 1},  {60, 1},     {64, 1},     {68, 0}, {72, 0}};
    for (const auto& [offset, value] : fields)
        EXPECT_EQ(Field(config, offset), value) << "offset " << offset;
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
    const std::pair<size_t, std::uint32_t> fields[] = {{24, 64}, {28, 144}, {36, 0},
                                                       {64, 1},  {68, 1},   {72, 7}};
    for (const auto& [offset, value] : fields)
        EXPECT_EQ(Field(config, offset), value) << "offset " << offset;

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
