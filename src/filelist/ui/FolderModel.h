#pragma once

#include <QFileSystemModel>

class QTreeView;

// The folders of the file system from "/", for the directory trees: folders only, each
// with the same folder icon, so that no file type is looked up while they load.
class CFolderModel : public QFileSystemModel {
    Q_OBJECT
public:
    explicit CFolderModel(QObject* pParent = nullptr);

    // Shows the model in `tree` as a folder tree: names only, "/" open, long names
    // scrolling sideways.
    void ShowIn(QTreeView& tree);
};
