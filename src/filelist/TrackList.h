#pragma once

#include "encoding/TrackItem.h"
#include "encoding/WaveReader.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class CAppSettings;
class COutputNamer;

// The file list's tracks in display order. Owns its records; lives in the window thread,
// and while an encode run works the list itself does not change.
class CTrackList {
public:
    // Sort keys: the list columns that can be sorted.
    static constexpr int kSortByPath = 0;
    static constexpr int kSortByPlayTime = 2;
    static constexpr int kSortByWavSize = 3;
    static constexpr int kSortByMp3Size = 4;
    static constexpr int kSortByStatus = 7;

    // Adds the WAV file at `strPath` with the options of `settings`. True when it was
    // added or is in the list already; false when it is refused, with the reason in
    // `pRefusal` when given.
    bool AddWaveFile(const std::string& strPath, const CAppSettings& settings,
                     SWaveRefusal* pRefusal = nullptr);

    void Append(std::unique_ptr<CTrackItem> track);
    // Removes the track at `nPosition`; a position past the end does nothing.
    void RemoveAt(size_t nPosition);
    void Clear();
    size_t Count() const { return m_tracks.size(); }
    bool Empty() const { return m_tracks.empty(); }
    bool Contains(const std::string& strPath) const;

    CTrackItem& At(size_t nPosition) { return *m_tracks[nPosition]; }
    const CTrackItem& At(size_t nPosition) const { return *m_tracks[nPosition]; }

    // Puts the track at `nFrom` after the track at `nTo`; nothing happens when
    // `nFrom` is `nTo` or `nTo` + 1, or when `nTo` is negative.
    void Move(int nFrom, int nTo);
    // Sorts by one of the sort keys (`bReverse` inverts every comparison), renumbers,
    // and rebuilds the output names. Other keys keep the order.
    void Sort(int nKey, bool bReverse, const COutputNamer& namer);
    // Sets every track's m_nIndex to its position.
    void Renumber();

    // Pushes the current settings into every track and rebuilds the output names;
    // encoded tracks take only the new output directory.
    void ApplySettingsToTracks(const CAppSettings& settings, const COutputNamer& namer);
    // Rebuilds the output name of every track that is not encoded. Names that come out
    // the same get " (2)", " (3)", ... in list order, so no track of a run overwrites
    // another's file, nor a file an encoded track wrote.
    void BuildOutputNames(const COutputNamer& namer);

private:
    std::vector<std::unique_ptr<CTrackItem>> m_tracks;
    // Every track's path, for the duplicate check of AddWaveFile; a multiset so that a
    // path appended twice through Append still leaves with its last track.
    std::unordered_multiset<std::string> m_paths;
};
