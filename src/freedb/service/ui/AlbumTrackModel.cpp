#include "freedb/service/ui/AlbumTrackModel.h"

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/CellSort.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"
#include "platform/Text.h"

#include <numeric>

CAlbumTrackModel::CAlbumTrackModel(const CStringCatalogue& catalogue, QObject* pParent)
    : QAbstractTableModel(pParent), m_catalogue(catalogue) {}

void CAlbumTrackModel::SetAlbum(CAlbumInfo* pAlbum) {
    beginResetModel();
    m_pAlbum = pAlbum;
    ResetOrder();
    endResetModel();
}

void CAlbumTrackModel::ResetOrder() {
    m_order.resize(m_pAlbum != nullptr ? m_pAlbum->GetTrackCount() : 0);
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
}

bool CAlbumTrackModel::HasTracks() const {
    return !m_order.empty();
}

int CAlbumTrackModel::TrackOf(int nRow) const {
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_order.size())
        return -1;
    return static_cast<int>(m_order[static_cast<std::size_t>(nRow)]);
}

int CAlbumTrackModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return HasTracks() ? static_cast<int>(m_order.size()) : 1;
}

int CAlbumTrackModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

std::string CAlbumTrackModel::CellText(std::size_t nTrack, int nColumn) const {
    const CAlbumTrack& track = m_pAlbum->GetTracks()[nTrack];
    switch (nColumn) {
    case kTitle:
        return track.GetTitle();
    case kNumber:
        return CText::Format("%.02u", static_cast<unsigned>(nTrack + 1));
    case kLength:
        return track.GetLengthText();
    case kFrames:
        return std::to_string(track.GetLengthFrames());
    case kExtra:
        return track.GetExtra();
    case kArtist:
        return m_pAlbum->IsCompilation() ? track.GetArtist() : m_pAlbum->GetArtist();
    default:
        return {};
    }
}

QVariant CAlbumTrackModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid())
        return {};
    if (!HasTracks()) {
        if (index.column() != kTitle || (nRole != Qt::DisplayRole && nRole != Qt::ToolTipRole))
            return {};
        return UiText::Load(m_catalogue, m_pAlbum == nullptr ? FreeDBText::kNoAlbumSelected
                                                             : FreeDBText::kNoTracklist);
    }
    const std::size_t track = m_order[static_cast<std::size_t>(index.row())];
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return UiText::FromUtf8(CellText(track, index.column()));
    case Qt::DecorationRole:
        if (index.column() == kTitle && m_pAlbum->GetTracks()[track].IsChanged())
            return m_changedIcon;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == kNumber || index.column() == kLength || index.column() == kFrames)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant CAlbumTrackModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nRole != Qt::DisplayRole || nSection < 0 ||
        nSection >= kColumnCount)
        return {};
    return UiText::Load(m_catalogue, FreeDBText::kFirstColumn + static_cast<unsigned>(nSection));
}

Qt::ItemFlags CAlbumTrackModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !HasTracks())
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kTitle || index.column() == kExtra || index.column() == kArtist)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CAlbumTrackModel::setData(const QModelIndex& index, const QVariant& value, int nRole) {
    if (nRole != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::size_t trackIndex = m_order[static_cast<std::size_t>(index.row())];
    CAlbumTrack& track = m_pAlbum->GetTrack(trackIndex);
    const std::string text = UiText::ToUtf8(value.toString());
    if (text == CellText(trackIndex, index.column()))
        return false;
    if (index.column() == kTitle) {
        track.SetTitle(std::string_view(text));
    } else if (index.column() == kExtra) {
        track.SetExtra(std::string_view(text));
    } else {
        // A track of its own artist makes the album a compilation: every row shows its
        // own artist from now on.
        track.SetArtist(std::string_view(text));
        emit dataChanged(this->index(0, kArtist), this->index(rowCount() - 1, kArtist));
    }
    emit dataChanged(index, index);
    emit AlbumEdited();
    return true;
}

void CAlbumTrackModel::sort(int nColumn, Qt::SortOrder order) {
    if (!HasTracks() || nColumn < 0 || nColumn >= kColumnCount)
        return;
    emit layoutAboutToBeChanged();
    std::vector<std::string> cells;
    for (std::size_t track = 0; track < m_order.size(); ++track)
        cells.push_back(CellText(track, nColumn));
    const std::vector<std::size_t> sorted =
        CCellSort::SortedOrder(cells, order == Qt::DescendingOrder);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> oldOrder = m_order;
    m_order = sorted;
    // Persistent indexes (the selection, an open editor) follow their tracks.
    std::vector<int> rowOfTrack(m_order.size());
    for (std::size_t row = 0; row < m_order.size(); ++row)
        rowOfTrack[m_order[row]] = static_cast<int>(row);
    QModelIndexList after;
    for (const QModelIndex& index : before)
        after.append(this->index(rowOfTrack[oldOrder[static_cast<std::size_t>(index.row())]],
                                 index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}
