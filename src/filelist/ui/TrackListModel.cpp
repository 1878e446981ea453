#include "filelist/ui/TrackListModel.h"

#include "encoding/TrackItem.h"
#include "filelist/FileList.h"
#include "filelist/TrackListColumns.h"
#include "lang/ui/UiText.h"
#include "platform/ui/ThemeIcon.h"

#include <QColor>
#include <QFont>
#include <QIcon>

namespace {
using EColumn = CTrackListColumns::EColumn;

bool IsCentred(int nColumn) {
    switch (nColumn) {
    case CTrackListColumns::kNumber:
    case CTrackListColumns::kPlayTime:
    case CTrackListColumns::kWavSize:
    case CTrackListColumns::kMp3Size:
    case CTrackListColumns::kStatus:
        return true;
    default:
        return false;
    }
}

// Row colours: later rules override earlier ones; even rows are the first, third, ...
QColor RowColour(const CTrackItem& track, bool bEven) {
    if (track.m_bEncoding)
        return {255, 215, 215};
    if (track.m_bEncoded)
        return bEven ? QColor(253, 240, 240) : QColor(255, 250, 250);
    if (track.m_bWavPresent)
        return bEven ? QColor(240, 253, 240) : QColor(250, 255, 250);
    return bEven ? QColor(238, 244, 254) : QColor(250, 250, 253);
}
} // namespace

CTrackListModel::CTrackListModel(CFileList& fileList, const CStringCatalogue& catalogue,
                                 QObject* pParent)
    : QAbstractTableModel(pParent), m_fileList(fileList), m_catalogue(catalogue),
      m_nRows(static_cast<int>(fileList.Tracks().Count())),
      m_waveIcon(ThemeIcon::Get("audio-x-generic", QStyle::SP_FileIcon)),
      m_encodingIcon(ThemeIcon::Get("media-record", QStyle::SP_MediaPlay)),
      m_encodedIcon(ThemeIcon::Get("emblem-default", QStyle::SP_DialogApplyButton)) {}

void CTrackListModel::RefreshWrite() {
    const int tracks = static_cast<int>(m_fileList.Tracks().Count());
    if (tracks < m_nRows) {
        beginRemoveRows({}, tracks, m_nRows - 1);
        m_nRows = tracks;
        endRemoveRows();
    } else if (tracks > m_nRows) {
        beginInsertRows({}, m_nRows, tracks - 1);
        m_nRows = tracks;
        endInsertRows();
    }
    m_fileList.Tracks().Renumber();
    m_shownPercent.assign(static_cast<size_t>(m_nRows), -1);
    if (m_nRows > 0)
        emit dataChanged(index(0, 0), index(m_nRows - 1, CTrackListColumns::kColumnCount - 1));
}

void CTrackListModel::RefreshProgress() {
    const CTrackList& tracks = m_fileList.Tracks();
    m_shownPercent.resize(static_cast<size_t>(m_nRows), -1);
    for (int row = 0; row < m_nRows; ++row) {
        const CTrackItem& track = tracks.At(static_cast<size_t>(row));
        if (!track.m_bEncoding)
            continue;
        const int percent = static_cast<int>(track.m_nPercent.load());
        int& shown = m_shownPercent[static_cast<size_t>(row)];
        if (shown == percent)
            continue;
        shown = percent;
        const QModelIndex status = index(row, CTrackListColumns::kStatus);
        emit dataChanged(status, status, {Qt::DisplayRole});
    }
}

void CTrackListModel::RefreshReadBack() {
    m_fileList.ApplySettings();
}

int CTrackListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nRows;
}

int CTrackListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CTrackListColumns::kColumnCount;
}

QVariant CTrackListModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid() || index.row() >= m_nRows)
        return {};
    const CTrackItem& track = m_fileList.Tracks().At(static_cast<size_t>(index.row()));
    const int column = index.column();
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return UiText::FromUtf8(CTrackListColumns::CellText(
            track, static_cast<unsigned>(index.row()), static_cast<EColumn>(column), m_catalogue));
    case Qt::CheckStateRole:
        if (column == CTrackListColumns::kWavName)
            return track.m_bChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        return column == CTrackListColumns::kWavName ? StatusIcon(index.row()) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsCentred(column) ? Qt::AlignHCenter : Qt::AlignLeft));
    case Qt::BackgroundRole:
        return Background(index.row());
    case Qt::ForegroundRole:
        // The row colours are light whatever the desktop's theme; keep the text readable.
        return QColor(Qt::black);
    case Qt::FontRole:
        if (track.m_bEncoding) {
            QFont bold;
            bold.setWeight(QFont::Bold);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant CTrackListModel::Background(int nRow) const {
    const CTrackItem& track = m_fileList.Tracks().At(static_cast<size_t>(nRow));
    return RowColour(track, nRow % 2 == 0);
}

QVariant CTrackListModel::StatusIcon(int nRow) const {
    const CTrackItem& track = m_fileList.Tracks().At(static_cast<size_t>(nRow));
    if (track.m_bEncoded)
        return m_encodedIcon;
    if (!track.m_bWavPresent)
        return {};
    return track.m_bEncoding ? m_encodingIcon : m_waveIcon;
}

QVariant CTrackListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nSection < 0 ||
        nSection >= CTrackListColumns::kColumnCount)
        return {};
    if (nRole == Qt::DisplayRole)
        return UiText::FromUtf8(
            CTrackListColumns::HeaderText(static_cast<EColumn>(nSection), m_catalogue));
    if (nRole == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsCentred(nSection) ? Qt::AlignHCenter : Qt::AlignLeft));
    return {};
}

Qt::ItemFlags CTrackListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == CTrackListColumns::kWavName)
        flags |= Qt::ItemIsUserCheckable;
    if (index.column() == CTrackListColumns::kTitle)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CTrackListModel::setData(const QModelIndex& index, const QVariant& value, int nRole) {
    if (!index.isValid() || index.row() >= m_nRows)
        return false;
    CTrackItem& track = m_fileList.Tracks().At(static_cast<size_t>(index.row()));
    if (nRole == Qt::CheckStateRole && index.column() == CTrackListColumns::kWavName) {
        track.m_bChecked = value.value<Qt::CheckState>() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit CheckChanged(index.row());
        return true;
    }
    if (nRole == Qt::EditRole && index.column() == CTrackListColumns::kTitle) {
        track.m_strTitle = UiText::ToUtf8(value.toString());
        emit TitleEdited(index.row());
        return true;
    }
    return false;
}
