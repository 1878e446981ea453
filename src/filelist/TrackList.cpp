#include "filelist/TrackList.h"

#include "encoding/AppSettings.h"
#include "encoding/WaveReader.h"
#include "filelist/OutputNamer.h"
#include "lang/StringCatalogue.h"
#include "platform/RegularFile.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_set>

namespace {

bool CanOpen(const std::string& strPath, SWaveRefusal* pRefusal) {
    int nError = 0;
    std::FILE* file = CRegularFile::OpenForReading(strPath, &nError);
    if (file == nullptr) {
        if (pRefusal != nullptr)
            *pRefusal = CWaveReader::UnreadableRefusal(nError);
        return false;
    }
    std::fclose(file);
    return true;
}

// The key's order for the normal direction; false for keys that do not sort.
bool KeyLess(int nKey, const CTrackItem& a, const CTrackItem& b) {
    switch (nKey) {
    case CTrackList::kSortByPath:
        return a.m_strWavPath < b.m_strWavPath;
    case CTrackList::kSortByPlayTime:
        return a.m_nPlayTime < b.m_nPlayTime;
    case CTrackList::kSortByWavSize:
        return a.m_nWavSize < b.m_nWavSize;
    case CTrackList::kSortByMp3Size:
        return a.m_nMp3Size < b.m_nMp3Size;
    case CTrackList::kSortByStatus:
        // Encoded first; among equals, those whose WAV file is still there first.
        if (a.m_bEncoded != b.m_bEncoded)
            return a.m_bEncoded > b.m_bEncoded;
        return a.m_bWavPresent > b.m_bWavPresent;
    default:
        return false;
    }
}

} // namespace

bool CTrackList::AddWaveFile(const std::string& strPath, const CAppSettings& settings,
                             SWaveRefusal* pRefusal) {
    if (!CText::EndsWithNoCase(strPath, ".wav")) {
        if (pRefusal != nullptr)
            *pRefusal = {.m_nReasonId = UiString::kReasonNotWavName};
        return false;
    }
    // A listed file is not read again; it need only still be there.
    if (Contains(strPath))
        return CanOpen(strPath, pRefusal);
    auto track = std::make_unique<CTrackItem>(settings);
    track->m_nIndex = static_cast<unsigned>(m_tracks.size());
    track->m_bWavPresent = true;
    track->m_strWavPath = strPath;
    track->m_bEncoded = false;
    track->m_bChecked = true;
    // The reader's own open is the test that the file can be opened; it also sets the
    // file title, which is the first title.
    if (!CWaveReader::ParseWaveFile(*track, strPath, pRefusal))
        return false;
    track->m_strTitle = track->m_strFileTitle;
    Append(std::move(track));
    return true;
}

void CTrackList::Append(std::unique_ptr<CTrackItem> track) {
    m_paths.insert(track->m_strWavPath);
    m_tracks.push_back(std::move(track));
}

void CTrackList::RemoveAt(size_t nPosition) {
    if (nPosition >= m_tracks.size())
        return;
    const auto path = m_paths.find(m_tracks[nPosition]->m_strWavPath);
    if (path != m_paths.end())
        m_paths.erase(path);
    m_tracks.erase(m_tracks.begin() + static_cast<std::ptrdiff_t>(nPosition));
}

void CTrackList::Clear() {
    m_tracks.clear();
    m_paths.clear();
}

bool CTrackList::Contains(const std::string& strPath) const {
    return m_paths.contains(strPath);
}

void CTrackList::Move(int nFrom, int nTo) {
    const int nCount = static_cast<int>(m_tracks.size());
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo >= nCount)
        return;
    if (nFrom == nTo || nFrom == nTo + 1)
        return;
    const auto first = m_tracks.begin();
    if (nFrom < nTo)
        std::rotate(first + nFrom, first + nFrom + 1, first + nTo + 1);
    else
        std::rotate(first + nTo + 1, first + nFrom, first + nFrom + 1);
}

void CTrackList::Sort(int nKey, bool bReverse, const COutputNamer& namer) {
    // A stable sort keeps equal tracks in their present order.
    std::stable_sort(m_tracks.begin(), m_tracks.end(),
                     [nKey, bReverse](const auto& a, const auto& b) {
                         return bReverse ? KeyLess(nKey, *b, *a) : KeyLess(nKey, *a, *b);
                     });
    Renumber();
    BuildOutputNames(namer);
}

void CTrackList::Renumber() {
    for (size_t i = 0; i < m_tracks.size(); ++i)
        m_tracks[i]->m_nIndex = static_cast<unsigned>(i);
}

void CTrackList::ApplySettingsToTracks(const CAppSettings& settings, const COutputNamer& namer) {
    for (auto& track : m_tracks) {
        track->m_strOutputDir = settings.m_strOutputDir;
        // An encoded track keeps the options and tags it was encoded with.
        if (!track->m_bEncoded)
            track->CopyEncodingSettings(settings);
    }
    BuildOutputNames(namer);
}

void CTrackList::BuildOutputNames(const COutputNamer& namer) {
    // Views of the tracks' own paths: a path in the set is not changed again here.
    std::unordered_set<std::string_view> taken;
    taken.reserve(m_tracks.size());
    for (const auto& track : m_tracks) {
        if (track->m_bEncoded)
            taken.insert(track->m_strMp3Path);
    }
    for (auto& track : m_tracks) {
        if (!namer.BuildOutputName(*track))
            continue;
        for (unsigned copy = 2; taken.contains(track->m_strMp3Path); ++copy)
            namer.BuildOutputName(*track, copy);
        taken.insert(track->m_strMp3Path);
    }
}
