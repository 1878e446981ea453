#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

class CAlbumInfo;
class CStringCatalogue;

// The FreeDB editor's track list as a model over the album selected in the tree (the
// window's own copy): title, number, length, frames, extra information and artist. With
// no album, or an album without tracks, it shows one row saying so. Title, extra
// information and artist are edited in place; a click on a header sorts by that column.
class CAlbumTrackModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum EColumn { kTitle, kNumber, kLength, kFrames, kExtra, kArtist, kColumnCount };

    CAlbumTrackModel(const CStringCatalogue& catalogue, QObject* pParent = nullptr);

    // The album shown, or none; it must live until it is replaced.
    void SetAlbum(CAlbumInfo* pAlbum);
    CAlbumInfo* Album() const { return m_pAlbum; }
    bool HasTracks() const;
    // The track of a row, -1 for the row that says there is none.
    int TrackOf(int nRow) const;
    void SetChangedIcon(QIcon icon) { m_changedIcon = std::move(icon); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int nRole) override;
    void sort(int nColumn, Qt::SortOrder order) override;

signals:
    // A cell was edited; the album changed.
    void AlbumEdited();

private:
    std::string CellText(std::size_t nTrack, int nColumn) const;
    void ResetOrder();

    const CStringCatalogue& m_catalogue;
    CAlbumInfo* m_pAlbum = nullptr;
    std::vector<std::size_t> m_order; // track shown in each row
    QIcon m_changedIcon;
};
