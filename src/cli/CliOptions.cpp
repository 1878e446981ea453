#include "cli/CliOptions.h"

#include "encoding/AppSettings.h"
#include "encoding/EncodingOptions.h"
#include "encoding/GenreTable.h"
#include "encoding/Mp3PageModel.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"

#include <charconv>
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
} // namespace

bool CCliOptions::Fail(std::string strError) {
    m_strError = std::move(strError);
    return false;
}

bool CCliOptions::Parse(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            m_paths.insert(m_paths.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            const size_t equals = arg.find('=');
            m_strInlineValue.reset();
            if (equals != std::string::npos)
                m_strInlineValue = arg.substr(equals + 1);
            if (!ParseOption(arg.substr(0, equals), args, i))
                return false;
            continue;
        }
        if (arg == "-h") {
            m_bHelp = true;
            continue;
        }
        if (m_strCommand.empty())
            m_strCommand = arg;
        else
            m_paths.push_back(arg);
    }
    if (m_bHelp)
        return true;
    if (m_strCommand.empty())
        return Fail("no command given");
    if (m_strCommand != "list")
        return Fail("unknown command '" + m_strCommand + "'");
    if (m_paths.empty())
        return Fail("'" + m_strCommand + "' needs at least one WAV file or folder");
    return true;
}

bool CCliOptions::ParseOption(const std::string& name, const std::vector<std::string>& args,
                              size_t& i) {
    std::string value;
    auto takeText = [&](std::optional<std::string>& target) {
        if (!TakeValue(name, args, i, value))
            return false;
        target = value;
        return true;
    };
    auto flag = [&](auto& target, auto setting) {
        if (m_strInlineValue)
            return Fail(name + " takes no value");
        target = setting;
        return true;
    };

    if (name == "--help")
        return flag(m_bHelp, true);
    if (name == "--profile")
        return takeText(m_strProfilePath);
    if (name == "--out")
        return takeText(m_strOutputDir);
    if (name == "--same-dir")
        return flag(m_bSameDir, true);
    if (name == "--template")
        return takeText(m_strTemplate);
    if (name == "--number-style")
        return TakeNumber(name, args, i, 0, 3, m_nNumberStyle);
    if (name == "--artist")
        return takeText(m_strArtist);
    if (name == "--album")
        return takeText(m_strAlbum);
    if (name == "--year")
        return takeText(m_strYear);
    if (name == "--genre")
        return takeText(m_strGenre);
    if (name == "--bitrate")
        return TakeNumber(name, args, i, 1, 100000, m_nBitrate);
    if (name == "--mpeg")
        return TakeNumber(name, args, i, 1, 2, m_nMpeg);
    if (name == "--rate")
        return TakeNumber(name, args, i, 1, 1000000, m_nSampleRate);
    if (name == "--mode") {
        if (!TakeValue(name, args, i, value))
            return false;
        m_nChannelMode = ChannelModeByName(value);
        return m_nChannelMode ? true : Fail("--mode takes mono, joint, stereo or dual");
    }
    if (name == "--vbr")
        return flag(m_bVbr, true);
    if (name == "--cbr")
        return flag(m_bVbr, false);
    if (name == "--vbr-min")
        return TakeNumber(name, args, i, 1, 100000, m_nVbrMin);
    if (name == "--vbr-max")
        return TakeNumber(name, args, i, 1, 100000, m_nVbrMax);
    if (name == "--vbr-quality")
        return TakeNumber(name, args, i, 0, 9, m_nVbrQuality);
    if (name == "--preset")
        return takeText(m_strPreset);
    return Fail("unknown option " + name);
}

bool CCliOptions::TakeValue(const std::string& name, const std::vector<std::string>& args,
                            size_t& i, std::string& value) {
    if (m_strInlineValue) {
        value = *m_strInlineValue;
        return true;
    }
    if (i + 1 >= args.size())
        return Fail(name + " needs a value");
    value = args[++i];
    return true;
}

bool CCliOptions::TakeNumber(const std::string& name, const std::vector<std::string>& args,
                             size_t& i, unsigned nMin, unsigned nMax,
                             std::optional<unsigned>& target) {
    std::string value;
    if (!TakeValue(name, args, i, value))
        return false;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < nMin ||
        number > nMax) {
        return Fail(name + " takes a number from " + std::to_string(nMin) + " to " +
                    std::to_string(nMax) + ", not '" + value + "'");
    }
    target = number;
    return true;
}

bool CCliOptions::ApplyOverrides(CAppSettings& settings) {
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

bool CCliOptions::ApplyMp3Overrides(CAppSettings& settings) {
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
    const std::string offeredRates = JoinRow(rates.data(), CEncodingOptions::kSampleRateChoices);
    const std::string offeredBitrates = JoinRow(bitrates.data(), CEncodingOptions::kBitrateChoices);
    auto bitratePosition = [&](const char* option, unsigned nBitrate, int& position) {
        position = CEncodingOptions::BitratePosition(version, nBitrate);
        if (position != CEncodingOptions::kFallbackBitratePosition)
            return true;
        return Fail(std::string(option) + " " + std::to_string(nBitrate) + " is not offered for " +
                    MpegName(version) + "; choose one of " + offeredBitrates);
    };

    if (m_nSampleRate) {
        const int position = CEncodingOptions::SampleRatePosition(version, *m_nSampleRate);
        if (position < 0) {
            return Fail("--rate " + std::to_string(*m_nSampleRate) + " is not offered for " +
                        MpegName(version) + "; choose one of " + offeredRates);
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
    // Bounds given the wrong way round are ordered, as the page orders its thumbs.
    page.SetVbrThumbs(page.m_nVbrMinPosition, page.m_nVbrMaxPosition);
    if (m_nChannelMode)
        page.SetChannelMode(*m_nChannelMode);
    if (m_nVbrQuality)
        page.SetVbrQuality(*m_nVbrQuality);
    page.CommitMp3Tab(settings);
    return true;
}

std::string CCliOptions::UsageText() {
    return R"(Usage: wavsmith-cli [OPTIONS] COMMAND PATH...

Commands:
  list PATH...          Add the WAV files and the WAV files of the folders given (one
                        level deep), apply the settings and print the file list with
                        the refused files and the totals.

Options (override the profile for this run):
  --profile FILE        Use this profile instead of ~/.config/Orvandel/Wavsmith.ini
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
  --vbr-quality Q       0 (lower) to 9 (highest)
  --preset NAME         PHONE, SW, AM, FM, VOICE, RADIO, TYPE, "HI FI", CD or STUDIO
  --help                Show this text

Exit status: 0 on success, 1 when a path could not be read, 2 for bad usage.
)";
}
