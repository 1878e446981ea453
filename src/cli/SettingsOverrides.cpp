#include "cli/SettingsOverrides.h"

#include "cli/ArgParser.h"
#include "encoding/AppSettings.h"
#include "encoding/EncodingOptions.h"
#include "encoding/GenreTable.h"
#include "encoding/Mp3PageModel.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"

#include <filesystem>

namespace {
std::string JoinRow(const unsigned* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i > 0 ? ", " : "") + std::to_string(values[i]);
    return text;
}

std::string MpegName(unsigned nVersion) {
    return nVersion == 0 ? "MPEG-1" : "MPEG-2";
}

std::optional<unsigned> ChannelModeByName(const std::string& name) {
    static const char* const kNames[] = {"mono", "joint", "stereo", "dual"};
    for (unsigned mode = 0; mode < 4; ++mode) {
        if (CText::EqualsNoCase(name, kNames[mode]))
            return mode;
    }
    return std::nullopt;
}

std::string AbsoluteDirectory(const std::string& dir) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(dir, error);
    if (error)
        path = dir;
    return CPlatformPaths::WithTrailingSlash(path.lexically_normal().string());
}

CArgParser::ValueHandler Text(std::optional<std::string>& target) {
    return [&target](const std::string& value) {
        target = value;
        return std::string();
    };
}

CArgParser::ValueHandler Number(const char* name, unsigned nMin, unsigned nMax,
                                std::optional<unsigned>& target) {
    return [name, nMin, nMax, &target](const std::string& value) {
        unsigned number = 0;
        std::string error = CArgParser::ParseNumber(name, value, nMin, nMax, number);
        if (error.empty())
            target = number;
        return error;
    };
}
} // namespace

void CSettingsOverrides::Register(CArgParser& parser) {
    parser.AddValue("--out", Text(m_strOutputDir));
    parser.AddFlag("--same-dir", [this] { m_bSameDir = true; });
    parser.AddValue("--template", Text(m_strTemplate));
    parser.AddValue("--number-style", Number("--number-style", 0, 3, m_nNumberStyle));
    parser.AddValue("--artist", Text(m_strArtist));
    parser.AddValue("--album", Text(m_strAlbum));
    parser.AddValue("--year", Text(m_strYear));
    parser.AddValue("--genre", Text(m_strGenre));
    parser.AddValue("--bitrate", Number("--bitrate", 1, 100000, m_nBitrate));
    parser.AddValue("--mpeg", Number("--mpeg", 1, 2, m_nMpeg));
    parser.AddValue("--rate", Number("--rate", 1, 1000000, m_nSampleRate));
    parser.AddValue("--mode", [this](const std::string& value) {
        m_nChannelMode = ChannelModeByName(value);
        return m_nChannelMode ? std::string() : "--mode takes mono, joint, stereo or dual";
    });
    parser.AddFlag("--vbr", [this] { m_bVbr = true; });
    parser.AddFlag("--cbr", [this] { m_bVbr = false; });
    parser.AddValue("--vbr-min", Number("--vbr-min", 1, 100000, m_nVbrMin));
    parser.AddValue("--vbr-max", Number("--vbr-max", 1, 100000, m_nVbrMax));
    parser.AddValue("--vbr-quality", Number("--vbr-quality", 0, 9, m_nVbrQuality));
    parser.AddValue("--preset", Text(m_strPreset));
}

bool CSettingsOverrides::Fail(std::string strError) {
    m_strError = std::move(strError);
    return false;
}

bool CSettingsOverrides::ApplyOverrides(CAppSettings& settings) {
    if (!ApplyMp3Overrides(settings))
        return false;
    if (m_strOutputDir) {
        settings.m_strOutputDir = AbsoluteDirectory(*m_strOutputDir);
        settings.m_bSameDir = 0;
    }
    if (m_bSameDir)
        settings.m_bSameDir = 1;
    if (m_strTemplate)
        settings.m_strOutputFileFormat = *m_strTemplate;
    if (m_nNumberStyle)
        settings.m_nNumberStyle = *m_nNumberStyle;
    if (m_strArtist)
        settings.m_strArtist = *m_strArtist;
    if (m_strAlbum)
        settings.m_strAlbum = *m_strAlbum;
    if (m_strYear)
        settings.m_strYear = *m_strYear;
    if (m_strGenre) {
        const int row = m_strGenre->empty() ? 0 : CGenreTable::FindRow(*m_strGenre);
        if (row < 0)
            return Fail("unknown genre '" + *m_strGenre + "'");
        settings.m_nGenre = static_cast<unsigned>(row);
    }
    return true;
}

bool CSettingsOverrides::ApplyMp3Overrides(CAppSettings& settings) {
    CMp3PageModel page;
    page.LoadFromSettings(settings);
    if (m_bVbr)
        page.SetVbr(*m_bVbr);
    if (m_strPreset) {
        const SMp3Preset* preset = CEncodingOptions::FindPreset(*m_strPreset);
        if (preset == nullptr) {
            std::string names;
            for (const SMp3Preset& known : CEncodingOptions::kPresets)
                names += (names.empty() ? "" : ", ") + std::string(known.m_strName);
            return Fail("unknown preset '" + *m_strPreset + "'; presets are " + names);
        }
        page.ApplyPreset(*preset);
    }
    if (m_nMpeg)
        page.SetMpegVersion(*m_nMpeg - 1);

    const unsigned version = page.m_nMpegVersion;
    const auto& rates = CEncodingOptions::kSampleRates[CEncodingOptions::Row(version)];
    const auto& bitrates = CEncodingOptions::kBitrates[CEncodingOptions::Row(version)];
    auto bitratePosition = [&](const char* option, unsigned nBitrate, int& position) {
        position = CEncodingOptions::BitratePosition(version, nBitrate);
        if (position != CEncodingOptions::kFallbackBitratePosition)
            return true;
        return Fail(std::string(option) + " " + std::to_string(nBitrate) + " is not offered for " +
                    MpegName(version) + "; choose one of " +
                    JoinRow(bitrates.data(), CEncodingOptions::kBitrateChoices));
    };

    if (m_nSampleRate) {
        const int position = CEncodingOptions::SampleRatePosition(version, *m_nSampleRate);
        if (position < 0) {
            return Fail("--rate " + std::to_string(*m_nSampleRate) + " is not offered for " +
                        MpegName(version) + "; choose one of " +
                        JoinRow(rates.data(), CEncodingOptions::kSampleRateChoices));
        }
        page.SetSampleRatePosition(position);
    }
    int position = 0;
    if (m_nBitrate) {
        if (!bitratePosition("--bitrate", *m_nBitrate, position))
            return false;
        page.SetCbrPosition(position);
    }
    if (m_nVbrMin) {
        if (!bitratePosition("--vbr-min", *m_nVbrMin, position))
            return false;
        page.m_nVbrMinPosition = position;
    }
    if (m_nVbrMax) {
        if (!bitratePosition("--vbr-max", *m_nVbrMax, position))
            return false;
        page.m_nVbrMaxPosition = position;
    }
    // Bounds given the wrong way round are ordered, as the page orders its lists; a
    // stored bound the row does not offer stays at the row's fallback.
    page.OrderVbrBounds();
    if (m_nChannelMode)
        page.SetChannelMode(*m_nChannelMode);
    if (m_nVbrQuality)
        page.SetVbrQuality(*m_nVbrQuality);
    page.CommitMp3Tab(settings);
    return true;
}

const char* CSettingsOverrides::UsageText() {
    return R"(Settings for this run (override the profile):
  --out DIR             Destination folder for MP3 files
  --same-dir            Write each MP3 file beside its WAV file
  --template TEXT       Output name template, with [number] [title] [artist]
                        [album] [year] [genre]
  --number-style N      0: 1, 2, 3   1: 01, 02, 03   2: A, B, C   3: a, b, c
  --artist TEXT  --album TEXT  --year TEXT  --genre NAME
  --mpeg 1|2            MPEG version
  --rate HZ             Output sample rate offered for the MPEG version
  --mode MODE           mono, joint, stereo or dual
  --bitrate K           Constant bit rate in kbit/s
  --vbr / --cbr         Variable or constant bit rate
  --vbr-min K  --vbr-max K
                        Variable bit rate bounds in kbit/s
  --vbr-quality Q       0 (best sound, largest files) to 9 (smallest files)
  --preset NAME         PHONE, SW, AM, FM, VOICE, RADIO, TYPE, "HI FI", CD or STUDIO
)";
}
