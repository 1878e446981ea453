#include "filelist/TrackListColumns.h"

#include "encoding/TrackItem.h"
#include "filelist/TrackList.h"
#include "lang/StringCatalogue.h"
#include "platform/Text.h"

namespace {
constexpr unsigned kHeaderIds[CTrackListColumns::kColumnCount] = {
    UiString::kColumnWavName, UiString::kColumnNumber,  UiString::kColumnPlayTime,
    UiString::kColumnWavSize, UiString::kColumnMp3Size, UiString::kColumnMp3Name,
    UiString::kColumnTitle,   UiString::kColumnStatus,  UiString::kColumnDirectory};

// Sizes are shown in whole kilobytes first, as megabytes with two decimals.
double Megabytes(unsigned nBytes) {
    return (nBytes / 1024) / 1024.0;
}
} // namespace

std::string CTrackListColumns::HeaderText(EColumn column, const CStringCatalogue& catalogue) {
    return catalogue.LoadUiString(kHeaderIds[column]);
}

std::string CTrackListColumns::CellText(const CTrackItem& track, unsigned nPosition, EColumn column,
                                        const CStringCatalogue& catalogue) {
    switch (column) {
    case kWavName:
        return std::string(CText::FileNamePart(track.m_strWavPath));
    case kNumber:
        return catalogue.FormatUiStringOrBuiltIn(UiString::kNumberFormat,
                                                 static_cast<int>(nPosition + 1));
    case kPlayTime:
        return catalogue.FormatUiStringOrBuiltIn(UiString::kPlayTimeFormat, track.m_nPlayTime / 60,
                                                 track.m_nPlayTime % 60, 0u);
    case kWavSize:
        return catalogue.FormatUiStringOrBuiltIn(UiString::kWavSizeFormat,
                                                 Megabytes(track.m_nWavSize));
    case kMp3Size:
        return CText::Format("%.2f Mb", Megabytes(track.m_nMp3Size));
    case kMp3Name:
        return std::string(CText::FileNamePart(track.m_strMp3Path));
    case kTitle:
        return track.m_strTitle;
    case kStatus:
        return track.TrackStatusText(catalogue);
    case kDirectory:
        return track.m_strWavDir;
    case kColumnCount:
        break;
    }
    return {};
}

std::string CTrackListColumns::TotalSizeText(const CTrackList& tracks,
                                             const CStringCatalogue& catalogue) {
    int count = 0;
    float megabytes = 0.0f;
    for (size_t i = 0; i < tracks.Count(); ++i) {
        const CTrackItem& track = tracks.At(i);
        if (!track.m_bChecked)
            continue;
        ++count;
        megabytes += static_cast<float>(track.m_nMp3Size) * (1.0f / 1048576.0f);
    }
    return catalogue.FormatUiStringOrBuiltIn(UiString::kTotalsSize, count,
                                             static_cast<double>(megabytes));
}

std::string CTrackListColumns::TotalPlayTimeText(const CTrackList& tracks,
                                                 const CStringCatalogue& catalogue) {
    unsigned long long seconds = 0;
    for (size_t i = 0; i < tracks.Count(); ++i) {
        if (tracks.At(i).m_bChecked)
            seconds += tracks.At(i).m_nPlayTime;
    }
    return catalogue.FormatUiStringOrBuiltIn(
        UiString::kTotalsPlayTime, static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
}
