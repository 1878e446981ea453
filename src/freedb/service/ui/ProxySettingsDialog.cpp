#include "freedb/service/ui/ProxySettingsDialog.h"

#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxAddress = 60;
constexpr int kMaxPort = 5;
constexpr int kMaxCredential = 50;

QLineEdit* Field(const std::string& strValue, int nMaxLength, QWidget* pParent) {
    auto* field = new QLineEdit(UiText::FromUtf8(strValue), pParent);
    field->setMaxLength(nMaxLength);
    return field;
}
} // namespace

CProxySettingsDialog::CProxySettingsDialog(const CStringCatalogue& catalogue,
                                           CFreeDBSettings& settings, QWidget* pParent)
    : QDialog(pParent), m_settings(settings),
      m_pAddress(Field(settings.m_strProxyServer, kMaxAddress, this)),
      m_pPort(Field(settings.m_strProxyPort, kMaxPort, this)),
      m_pAuth(new QCheckBox(UiText::Load(catalogue, FreeDBText::kProxyAuth), this)),
      m_pAsk(new QRadioButton(UiText::Load(catalogue, FreeDBText::kAskPassword), this)),
      m_pUseInfo(new QRadioButton(UiText::Load(catalogue, FreeDBText::kUseAuthInfo), this)),
      m_pUser(Field(settings.m_strProxyUser, kMaxCredential, this)),
      m_pPassword(Field(settings.m_strProxyPassword, kMaxCredential, this)) {
    setWindowTitle(UiText::Load(catalogue, FreeDBText::kProxyCaption));
    m_pPort->setMaximumWidth(m_pPort->fontMetrics().horizontalAdvance(QStringLiteral("000000")) +
                             16);
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pAuth->setChecked(settings.m_bProxyAuth);
    (settings.m_bAskPassword ? m_pAsk : m_pUseInfo)->setChecked(true);

    auto* server = new QFormLayout;
    const auto addRow = [this](QFormLayout* pLayout, const QString& strLabel, QWidget* pField) {
        auto* label = new QLabel(strLabel, this);
        label->setBuddy(pField);
        pField->setAccessibleName(UiText::WithoutMnemonics(strLabel));
        pLayout->addRow(label, pField);
    };
    addRow(server, UiText::Load(catalogue, FreeDBText::kProxyAddress), m_pAddress);
    addRow(server, UiText::Load(catalogue, FreeDBText::kProxyPort), m_pPort);
    auto* credentials = new QFormLayout;
    credentials->setContentsMargins(24, 0, 0, 0);
    addRow(credentials, UiText::Load(catalogue, FreeDBText::kProxyUser), m_pUser);
    addRow(credentials, UiText::Load(catalogue, FreeDBText::kProxyPassword), m_pPassword);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText::Load(catalogue, FreeDBText::kOk));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(UiText::Load(catalogue, FreeDBText::kCancel));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(server);
    layout->addWidget(m_pAuth);
    auto* choices = new QVBoxLayout;
    choices->setContentsMargins(24, 0, 0, 0);
    choices->addWidget(m_pAsk);
    choices->addWidget(m_pUseInfo);
    layout->addLayout(choices);
    layout->addLayout(credentials);
    layout->addStretch(1);
    layout->addWidget(buttons);
    m_pAddress->setMinimumWidth(240);

    connect(buttons, &QDialogButtonBox::accepted, this, &CProxySettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pAuth, &QCheckBox::toggled, this, &CProxySettingsDialog::UpdateControls);
    connect(m_pUseInfo, &QRadioButton::toggled, this, &CProxySettingsDialog::UpdateControls);
    UpdateControls();
}

void CProxySettingsDialog::UpdateControls() {
    const bool auth = m_pAuth->isChecked();
    m_pAsk->setEnabled(auth);
    m_pUseInfo->setEnabled(auth);
    m_pUser->setEnabled(auth && m_pUseInfo->isChecked());
    m_pPassword->setEnabled(auth && m_pUseInfo->isChecked());
}

void CProxySettingsDialog::accept() {
    m_settings.m_strProxyServer = UiText::ToUtf8(m_pAddress->text());
    m_settings.m_strProxyPort = UiText::ToUtf8(m_pPort->text());
    m_settings.m_bProxyAuth = m_pAuth->isChecked();
    m_settings.m_bAskPassword = m_pAsk->isChecked();
    m_settings.m_strProxyUser = UiText::ToUtf8(m_pUser->text());
    m_settings.m_strProxyPassword = UiText::ToUtf8(m_pPassword->text());
    QDialog::accept();
}
