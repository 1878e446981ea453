#include "freedb/service/ui/ConnectionPage.h"

#include "app/AppContext.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/ProxySettingsDialog.h"
#include "freedb/service/ui/ServerListDialog.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
QLabel* BuddyLabel(const QString& strText, QWidget* pBuddy, QWidget* pParent) {
    auto* label = new QLabel(strText, pParent);
    label->setBuddy(pBuddy);
    pBuddy->setAccessibleName(UiText::WithoutMnemonics(strText));
    return label;
}
} // namespace

CConnectionPage::CConnectionPage(SAppContext& context, QWidget* pParent)
    : QWidget(pParent), m_context(context), m_model(context.m_freedbSettings),
      m_pServer(new QComboBox(this)), m_pUseProxy(new QCheckBox(this)),
      m_pProxySettings(new QPushButton(this)), m_pTimeout(new QSpinBox(this)),
      m_pEmailUser(new QLineEdit(this)), m_pEmailDomain(new QLineEdit(this)),
      m_pConnections(new QComboBox(this)) {
    const CStringCatalogue& catalogue = context.m_catalogue;
    m_pUseProxy->setText(UiText::Load(catalogue, FreeDBText::kUseProxy));
    m_pProxySettings->setText(UiText::Load(catalogue, FreeDBText::kProxySettings));
    m_pTimeout->setRange(CConnectionPageModel::kMinTimeout, CConnectionPageModel::kMaxTimeout);
    m_pTimeout->setSuffix(QLatin1Char(' ') + UiText::Load(catalogue, FreeDBText::kSeconds));
    m_pEmailUser->setMaxLength(CConnectionPageModel::kMaxEmailPart);
    m_pEmailDomain->setMaxLength(CConnectionPageModel::kMaxEmailPart);
    m_pEmailDomain->setAccessibleName(UiText::Load(catalogue, FreeDBText::kEmailDomain));
    for (const unsigned count : CConnectionPageModel::kConnectionChoices)
        m_pConnections->addItem(QString::number(count));
    m_pServer->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pServer->setMinimumContentsLength(30);
    auto* getServers = new QPushButton(UiText::Load(catalogue, FreeDBText::kGetServers), this);

    auto* email = new QHBoxLayout;
    email->addWidget(m_pEmailUser, 1);
    email->addWidget(new QLabel(QStringLiteral("@"), this));
    email->addWidget(m_pEmailDomain, 1);
    auto* proxy = new QHBoxLayout;
    proxy->addWidget(m_pUseProxy);
    proxy->addWidget(m_pProxySettings);
    proxy->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(BuddyLabel(UiText::Load(catalogue, FreeDBText::kServer), m_pServer, this), 0,
                      0);
    layout->addWidget(m_pServer, 0, 1, 1, 2);
    layout->addLayout(proxy, 1, 1, 1, 2);
    layout->addWidget(BuddyLabel(UiText::Load(catalogue, FreeDBText::kTimeout), m_pTimeout, this),
                      2, 0);
    layout->addWidget(m_pTimeout, 2, 1);
    layout->addWidget(BuddyLabel(UiText::Load(catalogue, FreeDBText::kEmail), m_pEmailUser, this),
                      3, 0);
    layout->addLayout(email, 3, 1, 1, 2);
    layout->addWidget(
        BuddyLabel(UiText::Load(catalogue, FreeDBText::kConnections), m_pConnections, this), 4, 0);
    layout->addWidget(m_pConnections, 4, 1);
    layout->addWidget(getServers, 5, 1, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(6, 1);

    connect(m_pServer, &QComboBox::activated, this, [this] {
        UpdateProxyControls();
        MarkModified();
    });
    connect(m_pUseProxy, &QCheckBox::clicked, this, [this] {
        UpdateProxyControls();
        MarkModified();
    });
    connect(m_pProxySettings, &QPushButton::clicked, this, &CConnectionPage::OnProxySettings);
    connect(getServers, &QPushButton::clicked, this, &CConnectionPage::OnGetServers);
    connect(m_pTimeout, &QSpinBox::valueChanged, this, &CConnectionPage::MarkModified);
    connect(m_pEmailUser, &QLineEdit::textEdited, this, &CConnectionPage::MarkModified);
    connect(m_pEmailDomain, &QLineEdit::textEdited, this, &CConnectionPage::MarkModified);
    connect(m_pConnections, &QComboBox::activated, this, &CConnectionPage::MarkModified);
    Load();
}

void CConnectionPage::Load() {
    m_model = CConnectionPageModel(m_context.m_freedbSettings);
    const CFreeDBSettings& settings = m_model.Settings();
    FillServers();
    m_pUseProxy->setChecked(settings.m_bUseProxy);
    m_pTimeout->setValue(static_cast<int>(settings.m_nTimeout));
    const auto [user, domain] = m_model.EmailParts();
    m_pEmailUser->setText(UiText::FromUtf8(user).left(CConnectionPageModel::kMaxEmailPart));
    m_pEmailDomain->setText(UiText::FromUtf8(domain).left(CConnectionPageModel::kMaxEmailPart));
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    m_pConnections->setCurrentIndex(
        CConnectionPageModel::ConnectionChoice(options.m_nMaxThreadsCount));
    UpdateProxyControls();
    m_bModified = false;
}

void CConnectionPage::FillServers() {
    m_pServer->clear();
    const std::string format = m_context.m_catalogue.LoadUiString(FreeDBText::kServerFormat);
    for (const std::string& text : m_model.ServerTexts(format))
        m_pServer->addItem(UiText::FromUtf8(text));
    m_pServer->setCurrentIndex(m_model.ChosenServer());
}

void CConnectionPage::UpdateProxyControls() {
    const bool offered = m_model.IsProxyOffered(m_pServer->currentIndex());
    m_pUseProxy->setEnabled(offered);
    m_pProxySettings->setEnabled(offered && m_pUseProxy->isChecked());
}

bool CConnectionPage::Store() {
    CConnectionPageModel::SValues values;
    values.m_nServer = m_pServer->currentIndex();
    values.m_nTimeout = static_cast<unsigned>(m_pTimeout->value());
    values.m_strEmailUser = UiText::ToUtf8(m_pEmailUser->text());
    values.m_strEmailDomain = UiText::ToUtf8(m_pEmailDomain->text());
    values.m_bUseProxy = m_pUseProxy->isChecked();
    values.m_nMaxThreads = CConnectionPageModel::kConnectionChoices[static_cast<size_t>(
        std::max(m_pConnections->currentIndex(), 0))];
    const bool saved = m_model.Save(values, m_context.m_profile);
    // The rest of the program works on the shared settings.
    m_context.m_freedbSettings.Load();
    m_bModified = false;
    return saved;
}

void CConnectionPage::OnProxySettings() {
    CProxySettingsDialog dialog(m_context.m_catalogue, m_model.Settings(), this);
    if (dialog.exec() == QDialog::Accepted)
        MarkModified();
}

void CConnectionPage::OnGetServers() {
    CServerListDialog dialog(m_context, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model.Reload();
    FillServers();
    UpdateProxyControls();
}
