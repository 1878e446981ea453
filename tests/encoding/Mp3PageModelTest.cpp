#include "encoding/Mp3PageModel.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodingOptions.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {
CAppSettings Committed(const CMp3PageModel& page) {
    CAppSettings settings;
    page.CommitMp3Tab(settings);
    return settings;
}
} // namespace

TEST(Mp3PageModelTest, UnknownStoredBitrateShowsAndCommitsTheRowFallback) {
    CAppSettings settings;
    settings.m_nBitrate = 100;
    CMp3PageModel page;
    page.LoadFromSettings(settings);
    EXPECT_EQ(page.m_nCbrPosition, CEncodingOptions::kFallbackBitratePosition);
    EXPECT_EQ(page.ShownPosition(page.m_nCbrPosition), 9); // 160 kbps
    EXPECT_EQ(Committed(page).m_nBitrate, 160u);

    settings.m_nMpegVersion = 1;
    page.LoadFromSettings(settings);
    EXPECT_EQ(page.ShownPosition(page.m_nCbrPosition), 11); // 128 kbps
    EXPECT_EQ(Committed(page).m_nBitrate, 128u);
}

TEST(Mp3PageModelTest, LoadAndCommitRoundTripOfferedValues) {
    CAppSettings settings;
    settings.m_nMpegVersion = 1;
    settings.m_nSampleRate = 24000;
    settings.m_nChannelMode = 1;
    settings.m_nBitrate = 8;
    settings.m_nVbrMinBitrate = 16;
    settings.m_nVbrMaxBitrate = 160;
    settings.m_nVbrQuality = 7;
    settings.m_bVbr = 1;
    settings.m_bCrc = 1;
    CMp3PageModel page;
    page.LoadFromSettings(settings);
    const CAppSettings back = Committed(page);
    const auto fields = [](const CAppSettings& s) {
        return std::tie(s.m_nMpegVersion, s.m_nSampleRate, s.m_nChannelMode, s.m_nBitrate,
                        s.m_nVbrMinBitrate, s.m_nVbrMaxBitrate, s.m_nVbrQuality, s.m_bVbr, s.m_bCrc,
                        s.m_bPrivate);
    };
    EXPECT_EQ(fields(back), fields(settings));
}

TEST(Mp3PageModelTest, RateOfTheOtherVersionTakesItsPositionAndOneOfNeitherIsKept) {
    CAppSettings settings;
    settings.m_nSampleRate = 22050; // an MPEG-2 rate with MPEG-1 stored
    CMp3PageModel page;
    page.LoadFromSettings(settings);
    EXPECT_EQ(page.m_nSampleRatePosition, 1);
    EXPECT_EQ(Committed(page).m_nSampleRate, 44100u);
    settings.m_nMpegVersion = 1;
    settings.m_nSampleRate = 48000;
    page.LoadFromSettings(settings);
    EXPECT_EQ(Committed(page).m_nSampleRate, 24000u);

    settings.m_nSampleRate = 11025;
    page.LoadFromSettings(settings);
    EXPECT_EQ(page.m_nSampleRatePosition, -1);
    EXPECT_EQ(Committed(page).m_nSampleRate, 11025u);

    // Positions follow the row of the chosen version.
    page.LoadFromSettings(CAppSettings()); // 44.1 kHz, 160 kbit/s
    page.SetMpegVersion(1);
    const CAppSettings back = Committed(page);
    EXPECT_EQ(back.m_nSampleRate, 22050u);
    EXPECT_EQ(back.m_nBitrate, 96u);
}

TEST(Mp3PageModelTest, VbrBoundsAreSwappedSoTheMinimumNeverExceedsTheMaximum) {
    CMp3PageModel page;
    page.LoadFromSettings(CAppSettings());
    page.SetVbrMinPosition(13);
    EXPECT_EQ(page.m_nVbrMinPosition, 9);
    EXPECT_EQ(page.m_nVbrMaxPosition, 13);
    page.SetVbrMaxPosition(2);
    EXPECT_EQ(page.m_nVbrMinPosition, 2);
    EXPECT_EQ(page.m_nVbrMaxPosition, 9);
    page.SetVbrThumbs(11.6, 3.4);
    EXPECT_EQ(page.m_nVbrMinPosition, 3);
    EXPECT_EQ(page.m_nVbrMaxPosition, 12);

    // A stored bound the row does not offer is its fallback, 160 kbit/s, by rate.
    CAppSettings settings;
    settings.m_nVbrMinBitrate = 100;
    settings.m_nVbrMaxBitrate = 320;
    page.LoadFromSettings(settings);
    page.OrderVbrBounds();
    EXPECT_EQ(Committed(page).m_nVbrMinBitrate, 160u);
    EXPECT_EQ(Committed(page).m_nVbrMaxBitrate, 320u);
    page.SetVbrMaxPosition(8);
    EXPECT_EQ(Committed(page).m_nVbrMinBitrate, 128u);
    EXPECT_EQ(Committed(page).m_nVbrMaxBitrate, 160u);
}

TEST(Mp3PageModelTest, SwitchingVbrKeepsEachModesPositions) {
    CMp3PageModel page;
    page.LoadFromSettings(CAppSettings());
    page.SetCbrThumb(4.2);
    page.SetVbr(true);
    page.SetVbrThumbs(1.0, 13.0);
    page.SetVbr(false);
    EXPECT_EQ(page.m_nCbrPosition, 4);
    page.SetVbr(true);
    EXPECT_EQ(page.m_nVbrMinPosition, 1);
    EXPECT_EQ(page.m_nVbrMaxPosition, 13);
    const CAppSettings back = Committed(page);
    EXPECT_EQ(back.m_nBitrate, 64u);
    EXPECT_EQ(back.m_nVbrMinBitrate, 40u);
    EXPECT_EQ(back.m_nVbrMaxBitrate, 320u);
}

TEST(Mp3PageModelTest, PresetSetsOnlyTheActiveModesRates) {
    CMp3PageModel page;
    page.LoadFromSettings(CAppSettings());
    page.ApplyPreset(*CEncodingOptions::FindPreset("phone"));
    CAppSettings back = Committed(page);
    EXPECT_EQ(back.m_nMpegVersion, 1u);
    EXPECT_EQ(back.m_nSampleRate, 16000u);
    EXPECT_EQ(back.m_nChannelMode, 0u);
    EXPECT_EQ(back.m_nBitrate, 16u);
    EXPECT_EQ(back.m_bVbr, 0u);
    // The VBR positions were left alone; read in the MPEG-2 row they are 80 and 96.
    EXPECT_EQ(back.m_nVbrMinBitrate, 80u);
    EXPECT_EQ(back.m_nVbrMaxBitrate, 96u);

    page.SetVbr(true);
    page.ApplyPreset(*CEncodingOptions::FindPreset("CD"));
    back = Committed(page);
    EXPECT_EQ(back.m_nMpegVersion, 0u);
    EXPECT_EQ(back.m_nSampleRate, 44100u);
    EXPECT_EQ(back.m_nChannelMode, 2u);
    EXPECT_EQ(back.m_nVbrMinBitrate, 128u);
    EXPECT_EQ(back.m_nVbrMaxBitrate, 320u);
    EXPECT_EQ(back.m_nVbrQuality, 2u);
    // The CBR position kept from PHONE, read in the MPEG-1 row.
    EXPECT_EQ(back.m_nBitrate, 40u);
}

TEST(Mp3PageModelTest, EveryPresetRoundTripsThroughThePage) {
    for (const SMp3Preset& preset : CEncodingOptions::kPresets) {
        for (const bool vbr : {false, true}) {
            CMp3PageModel page;
            page.SetVbr(vbr);
            page.ApplyPreset(preset);
            const CAppSettings back = Committed(page);
            SCOPED_TRACE(std::string(preset.m_strName));
            EXPECT_EQ(back.m_nSampleRate, preset.m_nSampleRate);
            if (vbr) {
                EXPECT_EQ(back.m_nVbrMinBitrate, preset.m_nVbrMinBitrate);
                EXPECT_EQ(back.m_nVbrMaxBitrate, preset.m_nVbrMaxBitrate);
                EXPECT_EQ(back.m_nVbrQuality, preset.m_nVbrQuality);
            } else {
                EXPECT_EQ(back.m_nBitrate, preset.m_nBitrate);
            }
        }
    }
}
