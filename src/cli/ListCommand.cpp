#include "cli/ListCommand.h"

#include "encoding/AppSettings.h"
#include "encoding/WaveReader.h"
#include "filelist/FileList.h"
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
    CFileList fileList(tracks, m_settings, m_profile);
    bool allRead = true;
    for (const std::string& given : paths) {
        const std::string path = AbsolutePath(given);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            if (!fileList.OpenDirectory(path)) {
                errors << "wavsmith-cli: " << given << ": the folder cannot be read\n";
                allRead = false;
            }
        } else if (fs::exists(path, error)) {
            fileList.OpenFiles({path});
        } else {
            errors << "wavsmith-cli: " << given << ": no such file or folder\n";
            allRead = false;
            continue;
        }
        for (const SSkippedFile& skipped : fileList.SkippedFiles()) {
            m_skippedFiles.push_back(skipped);
            allRead = allRead && !skipped.m_refusal.m_bUnreadable;
        }
    }
    return allRead;
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

    // Files refused for what they hold, then files that could not be read at all, which
    // are not called corrupted.
    int nRow = 0;
    for (const bool bUnreadable : {false, true}) {
        bool bHeading = false;
        for (const SSkippedFile& skipped : m_skippedFiles) {
            if (skipped.m_refusal.m_bUnreadable != bUnreadable)
                continue;
            if (!bHeading) {
                out << '\n'
                    << catalogue.LoadUiString(bUnreadable ? UiString::kUnreadableFilesHeading
                                                          : UiString::kSkipFilesExplanation)
                    << '\n';
                bHeading = true;
            }
            out << CText::Format("%d", ++nRow) << "  " << skipped.m_strPath << ": "
                << CWaveReader::RefusalText(skipped.m_refusal, catalogue) << '\n';
        }
    }
    out << '\n'
        << CTrackListColumns::TotalSizeText(tracks, catalogue) << '\n'
        << CTrackListColumns::TotalPlayTimeText(tracks, catalogue) << '\n';
}
