#pragma once

#include <array>
#include <string>
#include <string_view>

// One named preset of the MP3 page.
struct SMp3Preset {
    std::string_view m_strName;
    unsigned m_nMpegVersion; // 0 MPEG-1, 1 MPEG-2
    unsigned m_nSampleRate;
    unsigned m_nChannelMode;
    unsigned m_nBitrate;
    unsigned m_nVbrMinBitrate;
    unsigned m_nVbrMaxBitrate;
    unsigned m_nVbrQuality;
};

// The fixed option tables the MP3 page offers; they map list positions to stored values.
class CEncodingOptions {
public:
    static constexpr int kBitrateChoices = 14;
    // Position 14 holds the row's fallback for a stored rate that is not offered.
    static constexpr int kFallbackBitratePosition = 14;
    static constexpr int kSampleRateChoices = 3;
    static constexpr int kVbrQualityChoices = 10;
    static constexpr int kPresetCount = 10;

    static constexpr std::array<std::array<unsigned, 15>, 2> kBitrates{{
        {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 160},
        {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 128},
    }};
    static constexpr std::array<std::array<unsigned, 3>, 2> kSampleRates{{
        {32000, 44100, 48000},
        {16000, 22050, 24000},
    }};
    static constexpr std::array<SMp3Preset, kPresetCount> kPresets{{
        {"PHONE", 1, 16000, 0, 16, 16, 56, 6},
        {"SW", 1, 16000, 0, 24, 16, 64, 5},
        {"AM", 1, 16000, 0, 32, 16, 128, 5},
        {"FM", 1, 22050, 1, 64, 24, 160, 5},
        {"VOICE", 0, 32000, 0, 56, 32, 128, 4},
        {"RADIO", 0, 44100, 1, 112, 64, 256, 4},
        {"TYPE", 0, 44100, 1, 128, 96, 320, 4},
        {"HI FI", 0, 44100, 1, 160, 112, 320, 3},
        {"CD", 0, 44100, 2, 192, 128, 320, 2},
        {"STUDIO", 0, 44100, 2, 256, 160, 320, 0},
    }};
    static constexpr std::array<std::string_view, 3> kChannelModeNames{"Mono", "Joint stereo",
                                                                       "Stereo"};
    static constexpr std::array<std::string_view, 5> kThreadPriorityNames{
        "Low", "Below normal", "Normal", "Above normal", "Highest"};
    static constexpr std::array<std::string_view, 4> kPlaylistKindNames{
        "None", "M3U Playlist", "Extended M3U Playlist", "PLS File"};

    // The row of an MPEG version; any version other than 0 is MPEG-2.
    static int Row(unsigned nMpegVersion) { return nMpegVersion == 0 ? 0 : 1; }

    // Position 0..13 of `nBitrate` in the version's row, or 14 when it is not offered.
    static int BitratePosition(unsigned nMpegVersion, unsigned nBitrate);
    // Position 0..2 of `nSampleRate` in the version's row, or -1.
    static int SampleRatePosition(unsigned nMpegVersion, unsigned nSampleRate);
    // "32 kbps".
    static std::string BitrateText(unsigned nBitrate);
    // "44.1 kHz".
    static std::string SampleRateText(unsigned nSampleRate);
    // "0 (lower)", "1" ... "9 (highest)".
    static std::string VbrQualityText(unsigned nQuality);
    // The preset of that name (without regard to case), or nullptr.
    static const SMp3Preset* FindPreset(std::string_view name);
};
