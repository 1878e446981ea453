#include "freedb/service/ui/ProxyPasswordDialog.h"

#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kMaxField = 50;
}

CProxyPasswordDialog::CProxyPasswordDialog(const CStringCatalogue& catalogue,
                                           const std::string& strUser,
                                           const std::string& strPassword, QWidget* pParent)
    : QDialog(pParent), m_pUser(new QLineEdit(UiText::FromUtf8(strUser), this)),
      m_pPassword(new QLineEdit(UiText::FromUtf8(strPassword), this)) {
    setWindowTitle(UiText::Load(catalogue, FreeDBText::kPasswordCaption));
    m_pUser->setMaxLength(kMaxField);
    m_pPassword->setMaxLength(kMaxField);
    m_pPassword->setEchoMode(QLineEdit::Password);
    const QString userLabel = UiText::Load(catalogue, FreeDBText::kPasswordUser);
    const QString passwordLabel = UiText::Load(catalogue, FreeDBText::kPasswordPassword);
    m_pUser->setAccessibleName(userLabel);
    m_pPassword->setAccessibleName(passwordLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText::Load(catalogue, FreeDBText::kOk));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(UiText::Load(catalogue, FreeDBText::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(userLabel, m_pUser);
    layout->addRow(passwordLabel, m_pPassword);
    layout->addRow(buttons);
    m_pUser->setMinimumWidth(220);
    (m_pUser->text().isEmpty() ? m_pUser : m_pPassword)->setFocus();
}

std::string CProxyPasswordDialog::User() const {
    return UiText::ToUtf8(m_pUser->text());
}

std::string CProxyPasswordDialog::Password() const {
    return UiText::ToUtf8(m_pPassword->text());
}
