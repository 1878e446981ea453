#include "cli/ListCommand.h"

#include "encoding/AppSettings.h"
#include "filelist/OutputNamer.h"
#include "filelist/TrackList.h"
#include "filelist/TrackListColumns.h"
#include "lang/StringCatalogue.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr CTrackListColumns::EColumn kShownColumns[] = {
    CTrackListColumns::kNumber,  CTrackListColumns::kWavName, CTrackListColumns::kPlayTime,
    CTrackListColumns::kWavSize, CTrackListColumns::kMp3Size, CTrackListColumns::kMp3Name,
    CTrackListColumns::kTitle,   CTrackListColumns::kStatus};
constexpr size_t kShownCount = std::size(kShownColumns);

// Characters on screen: UTF-8 continuation bytes take no room of their own.
size_t DisplayWidth(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? fs::path(path) : absolute).lexically_normal().string();
}

void PrintRow(const std::vector<std::string>& cells, const std::vector<size_t>& widths,
              std::ostream& out) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        line += cells[i];
        if (i + 1 < cells.size())
            line += std::string(widths[i] - DisplayWidth(cells[i]) + 2, ' ');
    }
    out << line << '\n';
}
} // namespace

CListCommand::CListCommand(CAppSettings& settings, const CProfile& profile)
    : m_settings(settings), m_profile(profile) {}

bool CListCommand::AddPaths(const std::vector<std::string>& paths, CTrackList& tracks,
                            std::ostream& errors) {
    bool allRead = true;
    for (const std::string& given : paths) {
        const std::string path = AbsolutePath(given);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            allRead = AddFolder(path, tracks, errors) && allRead;
        } else if (fs::exists(path, error)) {
            AddFile(path, tracks);
        } else {
            errors << "wavsmith-cli: " << given << ": no such file or folder\n";
            allRead = false;
        }
    }
    // As after Refresh: a list without a destination writes beside the source.
    if (m_settings.m_strOutputDir.empty())
        m_settings.m_strOutputDir = m_settings.m_strInputDir;
    tracks.ApplySettingsToTracks(m_settings, COutputNamer(m_settings, m_profile));
    return allRead;
}

bool CListCommand::AddFolder(const std::string& strFolder, CTrackList& tracks,
                             std::ostream& errors) {
    std::vector<std::string> wavFiles;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (CText::EndsWithNoCase(name, ".wav") && !entry.is_directory(error))
            wavFiles.push_back(entry.path().string());
    }
    if (error) {
        errors << "wavsmith-cli: " << strFolder << ": " << error.message() << '\n';
        return false;
    }
    std::sort(wavFiles.begin(), wavFiles.end());
    m_settings.m_strInputDir = CPlatformPaths::WithTrailingSlash(strFolder);
    for (const std::string& file : wavFiles)
        AddFile(file, tracks);
    return true;
}

void CListCommand::AddFile(const std::string& strPath, CTrackList& tracks) {
    if (!tracks.AddWaveFile(strPath, m_settings))
        m_skippedFiles.push_back(strPath);
}

void CListCommand::PrintList(const CTrackList& tracks, const CStringCatalogue& catalogue,
                             std::ostream& out) const {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (CTrackListColumns::EColumn column : kShownColumns)
        header.push_back(CTrackListColumns::HeaderText(column, catalogue));
    rows.push_back(header);
    for (size_t position = 0; position < tracks.Count(); ++position) {
        std::vector<std::string> cells;
        for (CTrackListColumns::EColumn column : kShownColumns) {
            cells.emplace_back(CText::Trim(CTrackListColumns::CellText(
                tracks.At(position), static_cast<unsigned>(position), column, catalogue)));
        }
        rows.push_back(cells);
    }
    std::vector<size_t> widths(kShownCount, 0);
    for (const auto& cells : rows) {
        for (size_t i = 0; i < kShownCount; ++i)
            widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
    }
    for (const auto& cells : rows)
        PrintRow(cells, widths, out);

    if (!m_skippedFiles.empty()) {
        out << '\n' << catalogue.LoadUiString(UiString::kSkipFilesExplanation) << '\n';
        for (size_t i = 0; i < m_skippedFiles.size(); ++i)
            out << CText::Format("%d", static_cast<int>(i + 1)) << "  " << m_skippedFiles[i]
                << '\n';
    }
    out << '\n'
        << CTrackListColumns::TotalSizeText(tracks, catalogue) << '\n'
        << CTrackListColumns::TotalPlayTimeText(tracks, catalogue) << '\n';
}
