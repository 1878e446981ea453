#include "filelist/ui/FolderBrowser.h"

#include "filelist/ui/FolderModel.h"
#include "lang/ui/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr unsigned kCancelText = 59479;
} // namespace

CFolderBrowser::CFolderBrowser(const CStringCatalogue& catalogue, const QString& strTitle,
                               const QString& strPrompt, QWidget* pParent)
    : QDialog(pParent), m_pTree(new QTreeView(this)), m_pFolders(new CFolderModel(*m_pTree)),
      m_pButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(strTitle);
    auto* prompt = new QLabel(strPrompt, this);
    prompt->setWordWrap(true);

    m_pTree->setAccessibleName(strPrompt);
    prompt->setBuddy(m_pTree);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFolderBrowser::OnSelectionChanged);

    m_pButtons->button(QDialogButtonBox::Cancel)->setText(UiText::Load(catalogue, kCancelText));
    m_pButtons->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &CFolderBrowser::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &CFolderBrowser::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_pTree, 1);
    layout->addWidget(m_pButtons);
    resize(420, 460);
}

void CFolderBrowser::SetStartFolder(const QString& strFolder) {
    // An empty or relative text starts from the current folder.
    QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(strFolder));
    while (!QFileInfo(folder).isDir() && folder != QStringLiteral("/"))
        folder = QFileInfo(folder).path();
    m_pFolders->Select(folder);
    if (m_pEdit != nullptr)
        m_pEdit->setText(strFolder);
}

void CFolderBrowser::AddEditBox(Validator validate) {
    m_validate = std::move(validate);
    m_pEdit = new QLineEdit(this);
    m_pEdit->setAccessibleName(m_pTree->accessibleName());
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(1, m_pEdit);
    // A typed folder need not exist yet.
    connect(m_pEdit, &QLineEdit::textEdited, this, [this](const QString& strText) {
        m_pButtons->button(QDialogButtonBox::Ok)->setEnabled(!strText.isEmpty());
    });
    OnSelectionChanged();
}

void CFolderBrowser::AddCheckBox(const QString& strText, bool bChecked) {
    m_pCheckBox = new QCheckBox(strText, this);
    m_pCheckBox->setChecked(bChecked);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(layout->indexOf(m_pButtons), m_pCheckBox);
}

QString CFolderBrowser::Folder() const {
    if (m_pEdit != nullptr)
        return m_pEdit->text();
    return m_pFolders->SelectedPath();
}

bool CFolderBrowser::IsChecked() const {
    return m_pCheckBox != nullptr && m_pCheckBox->isChecked();
}

void CFolderBrowser::OnSelectionChanged() {
    const QString folder = m_pFolders->SelectedPath();
    if (m_pEdit != nullptr && !folder.isEmpty())
        m_pEdit->setText(folder);
    m_pButtons->button(QDialogButtonBox::Ok)->setEnabled(!folder.isEmpty());
}

void CFolderBrowser::accept() {
    if (Folder().isEmpty())
        return;
    if (m_validate && !m_validate(Folder())) {
        if (m_pEdit != nullptr)
            m_pEdit->setFocus();
        return;
    }
    QDialog::accept();
}
