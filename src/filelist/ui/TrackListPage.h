#pragma once

#include "app/SettingsPage.h"
#include "filelist/TrackListLayout.h"

class CFileList;
class CFolderModel;
class CProfile;
class CStringCatalogue;
class CTrackListModel;
class CTrackListView;
class QSplitter;
class QTreeView;

// The first page of the main view: the file list with its check boxes beside the
// directory tree (folders only, from "/"). The columns' visibility, order and widths and
// the tree's visibility are read from the profile when the page is made and written
// back when it is destroyed. Choosing a folder in the tree and clicking a sortable
// header are reported to the view, which applies the file list's rules.
class CTrackListPage : public CSettingsPage {
    Q_OBJECT
public:
    CTrackListPage(CFileList& fileList, CProfile& profile, const CStringCatalogue& catalogue,
                   QWidget* pParent = nullptr);
    ~CTrackListPage() override;

    CTrackListModel& Model() { return *m_pModel; }
    CTrackListView& List() { return *m_pList; }
    QTreeView& Tree() { return *m_pTree; }

    // The display refresh in write mode; the fitted columns follow their contents.
    void UpdateList();

    // The first selected row, or -1.
    int FirstSelectedRow() const;
    // Selects the folder in the tree, expanding the way to it; false when it does not
    // exist. The selection is reported like a click.
    bool SelectFolder(const QString& strPath);
    // Moves the tree to a folder whose files the list already holds, without reading it
    // again (the list may hold more than that folder).
    void ShowFolder(const QString& strPath);
    // The folder selected in the tree; empty when none is.
    QString SelectedFolder() const;

    bool IsTreeShown() const;
    void ToggleTree();

    bool IsColumnVisible(int nColumn) const { return m_layout.IsVisible(nColumn); }
    void ToggleColumn(int nColumn);
    // Sizes the columns to the list's width.
    void UpdateColumnWidths();
    const CTrackListLayout& Layout() const { return m_layout; }

    void LoadFromSettings() override;
    void StoreToSettings() override;
    QString HelpTopic() const override;

signals:
    void FolderSelected(const QString& strPath);
    // A sortable header was clicked: sort by the column's key, reversed or not.
    void SortRequested(int nColumn, bool bReverse);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void BuildTree(const CStringCatalogue& catalogue);
    void BuildList(const CStringCatalogue& catalogue);
    void ApplyColumnLayout();
    // The widths that fit the contents of the visible fitted columns, kept until the
    // contents, the columns or the rows in sight change: a wider or narrower list only
    // shares out its width again.
    void MeasureFittedColumns();
    void FitColumnsToWidth();
    void OnHeaderClicked(int nColumn);
    void ShowTree(bool bShow);
    // The folder tree reads the file system only once it is on screen, so that the
    // window is not kept from showing by the folders it loads and sorts.
    void StartTree();

    CFileList& m_fileList;
    CProfile& m_profile;
    CTrackListLayout m_layout;
    CTrackListLayout::Widths m_fitted{};
    CTrackListModel* m_pModel;
    QSplitter* m_pSplitter;
    QWidget* m_pTreePanel;
    QTreeView* m_pTree;
    // Null until the tree has first been painted.
    CFolderModel* m_pFolders = nullptr;
    CTrackListView* m_pList;
    // The row selected when the page last stored its state, selected again on loading.
    int m_nRememberedRow = -1;
    // While set, a folder selected in the tree is only shown, not reported.
    bool m_bOnlyShowing = false;
    // The folder to show in the tree when it starts.
    QString m_strFolderToShow;
};
