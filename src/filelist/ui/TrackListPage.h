#pragma once

#include "app/SettingsPage.h"

class CFileList;
class CProfile;
class CStringCatalogue;
class CTrackListModel;
class QFileSystemModel;
class QLabel;
class QSplitter;
class QToolButton;
class QTreeView;

// The first page of the main view: the file list with its check boxes beside the
// directory tree (folders only, from "/"). Choosing a folder in the tree is reported to
// the view, which applies the folder rule of the file list.
class CTrackListPage : public CSettingsPage {
    Q_OBJECT
public:
    CTrackListPage(CFileList& fileList, CProfile& profile, const CStringCatalogue& catalogue,
                   QWidget* pParent = nullptr);

    CTrackListModel& Model() { return *m_pModel; }
    QTreeView& List() { return *m_pList; }

    // The first selected row, or -1.
    int FirstSelectedRow() const;
    // Selects the folder in the tree, expanding the way to it; false when it does not
    // exist. The selection is reported like a click.
    bool SelectFolder(const QString& strPath);

    bool IsTreeShown() const;
    void ToggleTree();

    void LoadFromSettings() override;
    void StoreToSettings() override;
    QString HelpTopic() const override;

signals:
    void FolderSelected(const QString& strPath);

private:
    void BuildTree(const CStringCatalogue& catalogue);
    void BuildList();
    void ShowTree(bool bShow);

    CFileList& m_fileList;
    CProfile& m_profile;
    CTrackListModel* m_pModel;
    QFileSystemModel* m_pFolders;
    QSplitter* m_pSplitter;
    QWidget* m_pTreePanel;
    QTreeView* m_pTree;
    QTreeView* m_pList;
    // The row selected when the page last stored its state, selected again on loading.
    int m_nRememberedRow = -1;
};
