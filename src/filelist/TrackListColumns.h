#pragma once

#include <string>

class CStringCatalogue;
class CTrackItem;
class CTrackList;

// The texts of the file list: column headers, one cell per track and column, and the
// totals over the checked tracks. The desktop list and the command line show the same.
class CTrackListColumns {
public:
    enum EColumn {
        kWavName = 0,
        kNumber = 1,
        kPlayTime = 2,
        kWavSize = 3,
        kMp3Size = 4,
        kMp3Name = 5,
        kTitle = 6,
        kStatus = 7,
        kDirectory = 8,
        kColumnCount = 9
    };

    static std::string HeaderText(EColumn column, const CStringCatalogue& catalogue);
    // The cell of `track`, whose position in the list is `nPosition`.
    static std::string CellText(const CTrackItem& track, unsigned nPosition, EColumn column,
                                const CStringCatalogue& catalogue);

    // "For 3 files required: 1.2 Mb" over the checked tracks.
    static std::string TotalSizeText(const CTrackList& tracks, const CStringCatalogue& catalogue);
    // "Play time: 05:05" over the checked tracks; minutes may have more than two digits.
    static std::string TotalPlayTimeText(const CTrackList& tracks,
                                         const CStringCatalogue& catalogue);
};
