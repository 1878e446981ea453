#pragma once

#include <QFileSystemModel>

class QTreeView;

// The folders of the file system from "/", shown in a directory tree: folders only,
// each with the same folder icon, so that no file type is looked up while they load.
class CFolderModel : public QFileSystemModel {
    Q_OBJECT
public:
    // Shows itself in `tree`: names only, "/" open, long names scrolling sideways.
    explicit CFolderModel(QTreeView& tree);

    // Selects the folder, opening the way to it, and keeps it in sight while the folders
    // around it load and are sorted, until the user moves the tree. False when the tree
    // cannot show it (yet).
    bool Select(const QString& strPath);
    // The folder selected in the tree; empty when none is.
    QString SelectedPath() const;

private:
    void KeepSelectionInSight();

    QTreeView& m_tree;
    bool m_bFollowSelection = false;
};
