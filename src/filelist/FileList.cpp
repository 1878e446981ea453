#include "filelist/FileList.h"

#include "encoding/AppSettings.h"
#include "encoding/PlaylistWriter.h"
#include "filelist/OutputNamer.h"
#include "filelist/TrackListColumns.h"
#include "freedb/service/AlbumInfo.h"
#include "lang/StringCatalogue.h"
#include "platform/FolderListing.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"
#include "platform/UserPrompt.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Whether `strDirectory` (ending in '/') holds a WAV file, or with `bSubfolders` one of
// its subfolders does.
bool HasWaveFiles(const std::string& strDirectory, bool bSubfolders) {
    std::vector<std::string> names;
    CFolderListing::ListFiles(strDirectory, ".wav", names);
    if (!names.empty() || !bSubfolders)
        return !names.empty();
    std::vector<std::string> folders;
    CFolderListing::ListSubfolders(strDirectory, folders);
    return std::any_of(folders.begin(), folders.end(), [&strDirectory](const std::string& folder) {
        return HasWaveFiles(strDirectory + folder + "/", true);
    });
}

// Appends the WAV files of `strDirectory` (ending in '/') in name order as people read
// it, so "Track 2" comes before "Track 10", then with `bSubfolders` those of each
// subfolder in the same order. What was listed before a failure is still taken; false
// when `strDirectory` itself could not be read to its end.
bool CollectWaveFiles(const std::string& strDirectory, bool bSubfolders,
                      std::vector<std::string>& files) {
    std::vector<std::string> names;
    const bool read = CFolderListing::ListFiles(strDirectory, ".wav", names);
    std::sort(names.begin(), names.end(), CText::NaturalLess);
    for (const std::string& name : names)
        files.push_back(strDirectory + name);
    if (!bSubfolders)
        return read;
    std::vector<std::string> folders;
    CFolderListing::ListSubfolders(strDirectory, folders);
    std::sort(folders.begin(), folders.end(), CText::NaturalLess);
    for (const std::string& folder : folders)
        CollectWaveFiles(strDirectory + folder + "/", true, files);
    return read;
}

bool IsValidComponent(std::string_view name) {
    if (name.empty())
        return false;
    const auto isEdge = [](char c) { return c == '\t' || c == ' ' || c == '.'; };
    if (isEdge(name.front()) || isEdge(name.back()))
        return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string_view::npos;
}

// The components of an absolute path; a trailing '/' ends the path, it adds none.
std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    path.remove_prefix(1);
    if (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    while (!path.empty()) {
        const size_t slash = path.find('/');
        parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
        if (path.empty())
            parts.emplace_back();
    }
    return parts;
}
} // namespace

CFileList::CFileList(CTrackList& tracks, CAppSettings& settings, const CProfile& profile)
    : m_tracks(tracks), m_settings(settings), m_profile(profile) {}

void CFileList::AddFiles(const std::vector<std::string>& paths) {
    m_skippedFiles.clear();
    for (const std::string& path : paths) {
        SWaveRefusal refusal;
        if (!m_tracks.AddWaveFile(path, m_settings, &refusal) && !m_bDontShowSkipped)
            m_skippedFiles.push_back({path, refusal});
        if (m_onFileAdded)
            m_onFileAdded();
    }
}

void CFileList::OpenFiles(const std::vector<std::string>& paths) {
    AddFiles(paths);
    if (!paths.empty())
        m_settings.m_strInputDir = std::string(CText::DirectoryPart(paths.back()));
    if (m_settings.m_strOutputDir.empty())
        m_settings.m_strOutputDir = m_settings.m_strInputDir;
    ApplySettings();
}

void CFileList::AddPaths(const std::vector<std::string>& paths, bool bIncludeSubfolders) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_directory(path, error))
            CollectWaveFiles(CPlatformPaths::WithTrailingSlash(path), bIncludeSubfolders, files);
        else
            files.push_back(path);
    }
    OpenFiles(files);
}

bool CFileList::Refresh(bool bIncludeSubfolders) {
    std::string& source = m_settings.m_strInputDir;
    std::string& destination = m_settings.m_strOutputDir;
    if (source.empty() && destination.empty())
        source = destination = CPlatformPaths::HomeDir();
    else if (source.empty())
        source = destination;
    else if (destination.empty())
        destination = source;
    source = CPlatformPaths::WithTrailingSlash(source);

    std::vector<std::string> wavFiles;
    // What was listed before a failure is still added; the failure is the answer.
    const bool read = CollectWaveFiles(source, bIncludeSubfolders, wavFiles);
    AddFiles(wavFiles);
    ApplySettings();
    return read;
}

bool CFileList::OpenDirectory(const std::string& strDirectory, bool bIncludeSubfolders) {
    m_settings.m_strInputDir = CPlatformPaths::WithTrailingSlash(strDirectory);
    if (m_settings.m_strOutputDir.empty())
        m_settings.m_strOutputDir = m_settings.m_strInputDir;
    return Refresh(bIncludeSubfolders);
}

bool CFileList::OpenPaths(const std::vector<std::string>& paths) {
    std::vector<SSkippedFile> skipped;
    bool allRead = true;
    for (const std::string& given : paths) {
        std::error_code error;
        const fs::path absolute = fs::absolute(given, error);
        const std::string path = (error ? fs::path(given) : absolute).lexically_normal().string();
        if (fs::is_directory(path, error))
            allRead = OpenDirectory(path) && allRead;
        else if (fs::exists(path, error))
            OpenFiles({path});
        else
            AddFiles({path}); // refused with the system's reason; the source folder stays
        for (const SSkippedFile& file : m_skippedFiles)
            allRead = allRead && !file.m_refusal.m_bUnreadable;
        skipped.insert(skipped.end(), m_skippedFiles.begin(), m_skippedFiles.end());
    }
    m_skippedFiles = std::move(skipped);
    return allRead;
}

void CFileList::CheckAll() {
    for (size_t i = 0; i < m_tracks.Count(); ++i)
        m_tracks.At(i).m_bChecked = true;
}

void CFileList::UncheckAll() {
    for (size_t i = 0; i < m_tracks.Count(); ++i)
        m_tracks.At(i).m_bChecked = false;
}

void CFileList::InvertSelection() {
    for (size_t i = 0; i < m_tracks.Count(); ++i)
        m_tracks.At(i).m_bChecked = !m_tracks.At(i).m_bChecked;
}

void CFileList::DeleteItem(size_t nPosition) {
    m_tracks.RemoveAt(nPosition);
    m_tracks.Renumber();
}

void CFileList::DeleteAllItems() {
    m_tracks.Clear();
}

void CFileList::ClearStatus() {
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        CTrackItem& track = m_tracks.At(i);
        if (track.m_bWavPresent)
            track.m_bEncoded = false;
    }
}

void CFileList::Sort(int nKey, bool bReverse) {
    m_tracks.Sort(nKey, bReverse, COutputNamer(m_settings, m_profile));
}

void CFileList::ApplySettings() {
    CPlaylistWriter::MakePlaylistName(m_settings, m_profile);
    m_tracks.Renumber();
    m_tracks.ApplySettingsToTracks(m_settings, COutputNamer(m_settings, m_profile));
}

bool CFileList::CanCheckAll() const {
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        if (!m_tracks.At(i).m_bChecked)
            return true;
    }
    return false;
}

bool CFileList::CanUncheckAll() const {
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        if (m_tracks.At(i).m_bChecked)
            return true;
    }
    return false;
}

bool CFileList::CanClearStatus() const {
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        if (m_tracks.At(i).m_bEncoded && m_tracks.At(i).m_bWavPresent)
            return true;
    }
    return false;
}

bool CFileList::CanEncode() const {
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        if (!m_tracks.At(i).m_bEncoded)
            return true;
    }
    return false;
}

bool CFileList::CanChooseDestination() const {
    return m_settings.m_bSameDir == 0;
}

std::string CFileList::TotalSizeText(const CStringCatalogue& catalogue) const {
    return CTrackListColumns::TotalSizeText(m_tracks, catalogue);
}

std::string CFileList::TotalPlayTimeText(const CStringCatalogue& catalogue) const {
    return CTrackListColumns::TotalPlayTimeText(m_tracks, catalogue);
}

bool CFileList::IsValidDestination(const std::string& strPath) {
    if (strPath.empty() || strPath[0] != '/')
        return false;
    const std::vector<std::string_view> parts = Components(strPath);
    return std::all_of(parts.begin(), parts.end(), IsValidComponent);
}

bool CFileList::ValidateDestination(const std::string& strPath, IUserPrompt& prompt,
                                    const CStringCatalogue& catalogue) {
    if (!IsValidDestination(strPath)) {
        prompt.ShowMessage(catalogue.FormatUiStringOrBuiltIn(UiString::kFolderInvalid, strPath),
                           EPromptIcon::Exclamation);
        return false;
    }
    return EnsureFolder(strPath, prompt, catalogue);
}

bool CFileList::EnsureFolder(const std::string& strPath, IUserPrompt& prompt,
                             const CStringCatalogue& catalogue) {
    std::error_code error;
    if (fs::is_directory(strPath, error))
        return true;
    if (!prompt.AskYesNo(
            catalogue.FormatUiStringOrBuiltIn(UiString::kFolderMissingQuestion, strPath),
            EPromptIcon::Question))
        return false;
    return CreateDestination(strPath, prompt, catalogue);
}

bool CFileList::CreateDestination(const std::string& strPath, IUserPrompt& prompt,
                                  const CStringCatalogue& catalogue) {
    std::string walked = "/";
    for (std::string_view part : Components(strPath)) {
        walked += std::string(part) + "/";
        std::error_code error;
        if (fs::is_directory(walked, error))
            continue;
        fs::create_directory(walked, error);
        if (!fs::is_directory(walked, error)) {
            prompt.ShowMessage(
                catalogue.FormatUiStringOrBuiltIn(UiString::kFolderNotCreated, strPath),
                EPromptIcon::Exclamation);
            return false;
        }
    }
    return true;
}

CAlbumInfo CFileList::BuildAlbum() const {
    std::vector<std::uint64_t> frames;
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        const CTrackItem& track = m_tracks.At(i);
        frames.push_back(CAlbumInfo::CdFramesOf(track.m_nSampleFrames, track.m_nSamplesPerSec));
    }
    return CAlbumInfo::FromTrackFrames(frames);
}

void CFileList::ApplyAlbum(const CAlbumInfo& album) {
    // A copy, because reading a track past the album's end appends an empty one.
    CAlbumInfo chosen(album);
    m_settings.m_strArtist = chosen.GetArtist();
    m_settings.m_strAlbum = chosen.GetTitle();
    m_settings.m_strYear = chosen.GetYear();
    for (size_t i = 0; i < m_tracks.Count(); ++i) {
        CTrackItem& track = m_tracks.At(i);
        track.m_strTitle = chosen.GetTrack(i).GetTitle();
        track.m_strArtist = m_settings.m_strArtist;
        track.m_strAlbum = m_settings.m_strAlbum;
        track.m_strYear = m_settings.m_strYear;
    }
    m_tracks.BuildOutputNames(COutputNamer(m_settings, m_profile));
}

bool CFileList::Encode(IUserPrompt& prompt, const CStringCatalogue& catalogue,
                       const std::function<void()>& runEncoding) {
    ApplySettings();
    if (!CanUncheckAll())
        return false;
    if (!m_settings.m_bSameDir &&
        !ValidateDestination(m_settings.m_strOutputDir, prompt, catalogue))
        return false;
    // MP3 files then go beside their WAV files, but the playlist's folder may be missing.
    // It already holds a WAV file, so its name is not held to the destination's rules.
    if (m_settings.m_bSameDir && m_settings.m_nPlaylistType != 0 && !m_tracks.Empty() &&
        !EnsureFolder(CPlaylistWriter::PlaylistDirectory(m_settings, m_tracks.At(0).m_strWavDir),
                      prompt, catalogue))
        return false;
    runEncoding();
    return true;
}

bool CFileList::SelectSourceFolder(const std::string& strDirectory, bool bIncludeSubfolders) {
    m_settings.m_strInputDir = CPlatformPaths::WithTrailingSlash(strDirectory);
    if (HasWaveFiles(m_settings.m_strInputDir, bIncludeSubfolders))
        DeleteAllItems();
    return Refresh(bIncludeSubfolders);
}

bool CFileList::CanPlayMp3(size_t nPosition) const {
    if (nPosition >= m_tracks.Count() || !m_tracks.At(nPosition).m_bEncoded)
        return false;
    return ::access(m_tracks.At(nPosition).m_strMp3Path.c_str(), R_OK) == 0;
}
