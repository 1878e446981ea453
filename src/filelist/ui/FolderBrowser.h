#pragma once

#include <QDialog>
#include <functional>

class CFolderModel;
class CStringCatalogue;
class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QTreeView;

// The folder browser: a prompt over a tree of folders from "/". Optionally an edit box
// above the tree, which follows the selection and takes a folder that does not exist
// yet, and a check box below it. A check given for the result can keep the browser open.
class CFolderBrowser : public QDialog {
    Q_OBJECT
public:
    // Decides whether the chosen folder is taken; shows its own message when not.
    using Validator = std::function<bool(const QString& strFolder)>;

    CFolderBrowser(const CStringCatalogue& catalogue, const QString& strTitle,
                   const QString& strPrompt, QWidget* pParent = nullptr);

    // Selects `strFolder`, or the nearest folder above it that exists.
    void SetStartFolder(const QString& strFolder);
    // Adds the edit box; its text is the result, and `validate` checks it on OK.
    void AddEditBox(Validator validate);
    void AddCheckBox(const QString& strText, bool bChecked);

    QString Folder() const;
    bool IsChecked() const;
    QTreeView& Tree() { return *m_pTree; }
    QLineEdit* EditBox() { return m_pEdit; }

    void accept() override;

private:
    void OnSelectionChanged();

    QTreeView* m_pTree;
    CFolderModel* m_pFolders;
    QLineEdit* m_pEdit = nullptr;
    QCheckBox* m_pCheckBox = nullptr;
    QDialogButtonBox* m_pButtons;
    Validator m_validate;
};
