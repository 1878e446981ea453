#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

class CFileList;
class CStringCatalogue;

// The file list as a table over the core's track list: one row per track, the nine
// columns, the check boxes, row colours, the bold row of the track being encoded and the
// editable title. The model keeps no copy of the tracks; the refresh operations tell the
// view which rows changed. Lives in the window thread.
class CTrackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CTrackListModel(CFileList& fileList, const CStringCatalogue& catalogue,
                    QObject* pParent = nullptr);

    // The display refreshes of the file list.
    // Write mode: rows added or removed at the end until they match the tracks, then every
    // row redrawn.
    void RefreshWrite();
    // Progress mode: between the write-mode refreshes at each track's start and end only
    // the percentages of the tracks being encoded move, so only their status cells are
    // redrawn, and only when the figure changed.
    void RefreshProgress();
    // Read-back mode: renumbers the tracks and applies the settings to them. The check
    // boxes need no reading back: a click writes the track at once.
    void RefreshReadBack();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int nRole) override;

signals:
    // A title was edited in place; the view rebuilds the names (rename refresh).
    void TitleEdited(int nRow);
    // A check box was clicked; totals and command states follow.
    void CheckChanged(int nRow);

private:
    QVariant Background(int nRow) const;
    QVariant StatusIcon(int nRow) const;

    CFileList& m_fileList;
    const CStringCatalogue& m_catalogue;
    // The rows the view knows of; matched to the tracks by RefreshWrite.
    int m_nRows = 0;
    // The percentage each row's status cell was last refreshed with; -1 after a write.
    std::vector<int> m_shownPercent;
    // Status images: WAV file there, being encoded, encoded.
    QIcon m_waveIcon;
    QIcon m_encodingIcon;
    QIcon m_encodedIcon;
};
