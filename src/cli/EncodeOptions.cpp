#include "cli/EncodeOptions.h"

#include "cli/ArgParser.h"
#include "encoding/AppSettings.h"
#include "platform/Text.h"

#include <array>

namespace {
// Finds `value` among `names`; its position, or nullopt.
template <size_t N>
std::optional<int> Position(const std::array<const char*, N>& names, const std::string& value) {
    for (size_t i = 0; i < N; ++i) {
        if (CText::EqualsNoCase(value, names[i]))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

constexpr std::array<const char*, 4> kPlaylistKinds{"none", "m3u", "extm3u", "pls"};
constexpr std::array<const char*, 5> kPriorities{"low", "below", "normal", "above", "highest"};
} // namespace

void CEncodeOptions::Register(CArgParser& parser) {
    parser.AddValue("--playlist", [this](const std::string& value) {
        const std::optional<int> kind = Position(kPlaylistKinds, value);
        if (!kind)
            return std::string("--playlist takes none, m3u, extm3u or pls");
        m_nPlaylistType = static_cast<unsigned>(*kind);
        return std::string();
    });
    parser.AddValue("--playlist-format", [this](const std::string& value) {
        m_strPlaylistFormat = value;
        return std::string();
    });
    parser.AddFlag("--id3", [this] { m_bUseId3Tag = true; });
    parser.AddFlag("--no-id3", [this] { m_bUseId3Tag = false; });
    parser.AddValue("--comment", [this](const std::string& value) {
        m_strComment = value;
        return std::string();
    });
    parser.AddFlag("--private", [this] { m_bPrivate = true; });
    parser.AddFlag("--crc", [this] { m_bCrc = true; });
    parser.AddFlag("--copyright", [this] { m_bCopyright = true; });
    parser.AddFlag("--original", [this] { m_bOriginal = true; });
    parser.AddOptionalValue("--delete-wav", [this](const std::string& value) {
        if (!value.empty() && value != "trash" && value != "unlink")
            return std::string("--delete-wav takes trash or unlink");
        m_bDeleteWav = true;
        if (!value.empty())
            m_bDeleteToTrash = value == "trash";
        return std::string();
    });
    parser.AddValue("--priority", [this](const std::string& value) {
        const std::optional<int> position = Position(kPriorities, value);
        if (!position)
            return std::string("--priority takes low, below, normal, above or highest");
        m_nPriority = *position - 2;
        return std::string();
    });
    const auto jobs = [this](const std::string& value) {
        unsigned nJobs = 0;
        std::string error = CArgParser::ParseNumber("--jobs", value, 0, 64, nJobs);
        if (error.empty())
            m_nJobs = nJobs;
        return error;
    };
    parser.AddValue("--jobs", jobs);
    parser.AddValue("-j", jobs);
    parser.AddFlag("--yes", [this] { m_bAssumeYes = true; });
    parser.AddFlag("--save", [this] { m_bSave = true; });
    parser.AddFlag("--no-progress", [this] { m_bNoProgress = true; });
}

void CEncodeOptions::ApplyOverrides(CAppSettings& settings) const {
    if (m_nPlaylistType)
        settings.m_nPlaylistType = *m_nPlaylistType;
    if (m_strPlaylistFormat)
        settings.m_strPlaylistFormat = *m_strPlaylistFormat;
    if (m_bUseId3Tag)
        settings.m_bUseId3Tag = *m_bUseId3Tag;
    if (m_strComment)
        settings.m_strComment = *m_strComment;
    settings.m_bPrivate |= m_bPrivate ? 1 : 0;
    settings.m_bCrc |= m_bCrc ? 1 : 0;
    settings.m_bCopyright |= m_bCopyright ? 1 : 0;
    settings.m_bOriginal |= m_bOriginal ? 1 : 0;
    settings.m_bDelWav = settings.m_bDelWav || m_bDeleteWav;
    if (m_bDeleteToTrash)
        settings.m_bDeleteToTrash = *m_bDeleteToTrash;
    if (m_nPriority)
        settings.m_nThreadPriority = *m_nPriority;
    if (m_nJobs)
        settings.m_nEncodeJobs = *m_nJobs;
}

const char* CEncodeOptions::UsageText() {
    return R"(Options of encode:
  --playlist KIND       none, m3u, extm3u or pls
  --playlist-format TEXT
                        Playlist name template, with [artist] [album] [year] [genre]
  --id3 / --no-id3      Append an ID3v1 tag, or not
  --comment TEXT        Tag comment
  --private  --crc  --copyright  --original
                        Set the MPEG frame flag
  --delete-wav[=trash|unlink]
                        Delete each WAV file once its MP3 file is proven whole: to the
                        trash (the profile's default) or for good
  --priority P          low, below, normal, above or highest
  -j N, --jobs N        Encode N tracks at once (0: one per core, the default)
  --yes                 Answer Yes to questions, such as creating the destination
  --save                Store the resulting settings in the profile
  --no-progress         Do not show the progress
)";
}
