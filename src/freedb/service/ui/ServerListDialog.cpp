#include "freedb/service/ui/ServerListDialog.h"

#include "app/AppContext.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ServerListFetch.h"
#include "freedb/service/ui/FreeDBStatusBar.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/OperationLogBox.h"
#include "freedb/service/ui/PasswordPrompt.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/Profile.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <thread>

namespace {
constexpr int kProgressPeriodMs = 500;
constexpr int kMinWidth = 460;
constexpr int kMinHeight = 260;
} // namespace

CServerListDialog::CServerListDialog(SAppContext& context, QWidget* pParent)
    : QDialog(pParent), m_context(context), m_pList(new QListWidget(this)),
      m_pLog(new COperationLogBox(this)),
      m_pStatus(new CFreeDBStatusBar(context.m_catalogue, this)),
      m_pOk(new QPushButton(UiText::Load(context.m_catalogue, FreeDBText::kOk), this)),
      m_pCancel(new QPushButton(UiText::Load(context.m_catalogue, FreeDBText::kCancel), this)),
      m_pPrompt(
          new CPasswordPrompt(context.m_catalogue, this, [this] { return m_bStopping.load(); })),
      m_pFetch(std::make_unique<CServerListFetch>(context.m_freedbSettings, context.m_profile,
                                                  m_pLog->Log())) {
    const CStringCatalogue& catalogue = context.m_catalogue;
    setWindowTitle(UiText::Load(catalogue, FreeDBText::kServersCaption));
    m_pList->setAccessibleName(UiText::Load(catalogue, FreeDBText::kServersName));
    m_pLog->setAccessibleName(UiText::Load(catalogue, FreeDBText::kLogName));
    m_pStatus->setSizeGripEnabled(false);
    m_pOk->hide();
    for (QPushButton* button : {m_pOk, m_pCancel})
        button->setAutoDefault(false);
    m_pFetch->SetPasswordPrompt([this](std::string& strUser, std::string& strPassword) {
        return m_pPrompt->Ask(strUser, strPassword);
    });

    auto* row = new QHBoxLayout;
    row->addWidget(m_pLog, 1);
    row->addWidget(m_pOk);
    row->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(row);
    layout->addWidget(m_pStatus);
    layout->setContentsMargins(6, 6, 6, 0);

    CFreeDBSettings::SProfileOptions options;
    options.Load(context.m_profile);
    move(options.m_nGetServersX, options.m_nGetServersY);
    // Never smaller than its rows and status need, in the catalogue's words.
    int minWidth = kMinWidth;
    for (const unsigned id :
         {FreeDBText::kConnecting, FreeDBText::kRetrievingServers, FreeDBText::kServersRetrieved,
          FreeDBText::kOperationFailed, FreeDBText::kCanceled})
        minWidth = std::max(minWidth, m_pStatus->WidthToShow(UiText::Load(catalogue, id)));
    resize(std::max(options.m_nGetServersW, minWidth),
           std::max(options.m_nGetServersH, kMinHeight));

    connect(m_pOk, &QPushButton::clicked, this, &CServerListDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CServerListDialog::reject);
    connect(&m_progressTimer, &QTimer::timeout, this, &CServerListDialog::OnProgressTick);
    connect(&m_stopTimer, &QTimer::timeout, this, &CServerListDialog::OnStopTick);
}

// Closing never waits for a thread that waits for this window: a question on its way is
// answered here while the request ends.
CServerListDialog::~CServerListDialog() {
    m_pPrompt->Close();
    m_bStopping = true;
    if (m_pFetch->IsRunning())
        m_pFetch->RequestStop();
    while (!m_pFetch->PollStop(CServerListFetch::kStopGrace)) {
        m_pPrompt->AnswerPending();
        std::this_thread::sleep_for(CServerListFetch::kStopPoll);
    }
}

void CServerListDialog::SetServer(const std::string& strHost, const std::string& strCddbpPort,
                                  const std::string& strHttpPort) {
    m_pFetch->SetServer(strHost, strCddbpPort, strHttpPort);
}

bool CServerListDialog::IsWorking() const {
    return m_pFetch->IsRunning();
}

void CServerListDialog::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (m_bStarted)
        return;
    m_bStarted = true;
    m_pFetch->Start();
    ShowState();
    m_progressTimer.start(kProgressPeriodMs);
}

void CServerListDialog::ShowState() {
    m_pStatus->SetOnline(m_pFetch->IsOnline());
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    switch (m_pFetch->GetPhase()) {
    case CServerListFetch::EPhase::Connecting:
        m_pStatus->SetStatusText(UiText::Load(catalogue, FreeDBText::kConnecting));
        break;
    case CServerListFetch::EPhase::Retrieving:
        m_pStatus->SetStatusText(UiText::Load(catalogue, FreeDBText::kRetrievingServers));
        break;
    case CServerListFetch::EPhase::Ended:
        m_pStatus->SetStatusText(
            m_pFetch->GetServerCount() > 0
                ? UiText::FromUtf8(catalogue.FormatUiStringOrBuiltIn(FreeDBText::kServersRetrieved,
                                                                     m_pFetch->GetServerCount()))
                : UiText::Load(catalogue, FreeDBText::kOperationFailed));
        break;
    case CServerListFetch::EPhase::Idle:
        break;
    }
}

void CServerListDialog::OnProgressTick() {
    ShowState();
    if (m_pFetch->IsRunning()) {
        m_pStatus->Progress().setValue(m_pFetch->Progress(std::chrono::steady_clock::now()));
        return;
    }
    m_progressTimer.stop();
    m_pStatus->Progress().setValue(0);
    if (!m_bStopping)
        OnEnded();
}

void CServerListDialog::OnEnded() {
    m_bEnded = true;
    m_pCancel->hide();
    m_pOk->show();
    const unsigned servers = m_pFetch->GetServerCount();
    if (servers == 0)
        return;
    // The request stored the list in the settings file; the shared settings follow it.
    CFreeDBSettings& settings = m_context.m_freedbSettings;
    settings.Load();
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    for (size_t i = 0; i < settings.GetSiteCount(); ++i) {
        const CFreeDBSite& site = settings.GetSite(i);
        m_pList->addItem(UiText::FromUtf8(catalogue.FormatUiStringOrBuiltIn(
            FreeDBText::kServerRowFormat, static_cast<unsigned>(i + 1), site.m_strHost,
            site.m_strPort, site.m_strProtocol, site.m_strDescription)));
    }
}

void CServerListDialog::reject() {
    if (!m_pFetch->IsRunning() || m_bEnded) {
        QDialog::reject();
        return;
    }
    if (m_bStopping)
        return;
    m_bStopping = true;
    m_pPrompt->Cancel();
    m_pFetch->RequestStop();
    m_stopTimer.start(static_cast<int>(CServerListFetch::kStopPoll.count()));
}

void CServerListDialog::OnStopTick() {
    if (m_pPrompt->IsOpen() || !m_pFetch->PollStop(CServerListFetch::kStopGrace))
        return;
    m_stopTimer.stop();
    m_progressTimer.stop();
    m_pFetch->LogCanceled();
    m_pStatus->SetStatusText(UiText::Load(m_context.m_catalogue, FreeDBText::kCanceled));
    m_pStatus->SetOnline(false);
    QDialog::reject();
}

void CServerListDialog::accept() {
    if (m_pFetch->GetServerCount() > 0)
        QDialog::accept();
    else
        QDialog::reject();
}

void CServerListDialog::done(int nResult) {
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    options.m_nGetServersX = pos().x();
    options.m_nGetServersY = pos().y();
    options.m_nGetServersW = width();
    options.m_nGetServersH = height();
    options.Save(m_context.m_profile);
    QDialog::done(nResult);
}
