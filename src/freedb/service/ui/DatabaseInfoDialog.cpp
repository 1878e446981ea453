#include "freedb/service/ui/DatabaseInfoDialog.h"

#include "app/AppContext.h"
#include "freedb/service/CDPlayerDatabase.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ServerStatsFetch.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/PasswordPrompt.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <thread>

namespace {
constexpr int kRemotePage = 0;

QTextEdit* InfoText(const QString& strName, QWidget* pParent) {
    auto* text = new QTextEdit(pParent);
    text->setReadOnly(true);
    text->setAccessibleName(strName);
    return text;
}

// A file size in the catalogue's words: bytes below a kilobyte, else kilo- or megabytes
// with the bytes.
std::string SizeText(const CStringCatalogue& catalogue, unsigned nBytes) {
    constexpr unsigned kKilobyte = 1024;
    constexpr unsigned kMegabyte = 1024 * 1024;
    if (nBytes < kKilobyte)
        return catalogue.FormatUiStringOrBuiltIn(FreeDBText::kSizeBytes, nBytes);
    if (nBytes < kMegabyte)
        return catalogue.FormatUiStringOrBuiltIn(FreeDBText::kSizeKilobytes,
                                                 nBytes / double{kKilobyte}, nBytes);
    return catalogue.FormatUiStringOrBuiltIn(FreeDBText::kSizeMegabytes, nBytes / double{kMegabyte},
                                             nBytes);
}

// The catalogue's texts end their lines with CR LF.
QString Lines(const std::string& strText) {
    return UiText::FromUtf8(strText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// "label<tab>value" lines laid out in columns whatever the font and the translation: a
// leading tab indents, further tabs separate the cells.
QString AsTable(const QString& strText) {
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=1>");
    for (const QString& line : strText.split(QLatin1Char('\n'))) {
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char('\t'))
            ++indent;
        const QStringList cells = line.mid(indent).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        html += QStringLiteral("<tr><td style='padding-left:%1px'>").arg(indent * 20) +
                cells.value(0).toHtmlEscaped() + QStringLiteral("</td>");
        for (qsizetype cell = 1; cell < cells.size(); ++cell)
            html += QStringLiteral("<td style='padding-left:16px'>") + cells[cell].toHtmlEscaped() +
                    QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}
} // namespace

CDatabaseInfoDialog::CDatabaseInfoDialog(SAppContext& context, QWidget* pParent)
    : QDialog(pParent), m_context(context), m_pPages(new QTabWidget(this)),
      m_pRemote(InfoText(UiText::Load(context.m_catalogue, FreeDBText::kRemotePage), this)),
      m_pLocal(InfoText(UiText::Load(context.m_catalogue, FreeDBText::kLocalPage), this)),
      m_pPrompt(
          new CPasswordPrompt(context.m_catalogue, this, [this] { return m_bClosing.load(); })),
      m_pFetch(std::make_unique<CServerStatsFetch>(context.m_freedbSettings, context.m_profile)) {
    const CStringCatalogue& catalogue = context.m_catalogue;
    setWindowTitle(UiText::Load(catalogue, FreeDBText::kDatabaseCaption));
    m_pPages->addTab(m_pRemote, m_pRemote->accessibleName());
    m_pPages->addTab(m_pLocal, m_pLocal->accessibleName());
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* refresh = buttons->addButton(UiText::Load(catalogue, FreeDBText::kRefresh),
                                              QDialogButtonBox::ActionRole);
    refresh->setToolTip(UiText::Load(catalogue, FreeDBText::kRefreshTip));
    refresh->setAutoDefault(false);
    buttons->addButton(UiText::Load(catalogue, FreeDBText::kOk), QDialogButtonBox::AcceptRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPages, 1);
    layout->addWidget(buttons);
    resize(420, 400);
    m_pFetch->SetPasswordPrompt([this](std::string& strUser, std::string& strPassword) {
        return m_pPrompt->Ask(strUser, strPassword);
    });

    connect(refresh, &QPushButton::clicked, this, &CDatabaseInfoDialog::Refresh);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDatabaseInfoDialog::accept);
    connect(&m_pollTimer, &QTimer::timeout, this, &CDatabaseInfoDialog::OnPoll);
    RefreshRemote();
    RefreshLocal();
}

CDatabaseInfoDialog::~CDatabaseInfoDialog() {
    m_bClosing = true;
    m_pPrompt->Close();
    m_pFetch->RequestStop();
    while (!m_pFetch->PollStop(CServerStatsFetch::kStopGrace)) {
        m_pPrompt->AnswerPending();
        std::this_thread::sleep_for(CServerStatsFetch::kStopPoll);
    }
}

bool CDatabaseInfoDialog::IsBusy() const {
    return m_pFetch->IsRunning();
}

void CDatabaseInfoDialog::Refresh() {
    if (m_pPages->currentIndex() == kRemotePage)
        RefreshRemote();
    else
        RefreshLocal();
}

void CDatabaseInfoDialog::RefreshRemote() {
    if (!m_pFetch->Start(m_context.m_freedbSettings))
        return;
    ShowRemote(UiText::Load(m_context.m_catalogue, FreeDBText::kRetrievingInfo));
    m_pollTimer.start(static_cast<int>(CServerStatsFetch::kStopPoll.count()));
}

void CDatabaseInfoDialog::RefreshLocal() {
    CFreeDBSettings settings(m_context.m_freedbSettings.GetIniPath());
    CCDPlayerDatabase database(settings, settings.GetIniPath());
    database.Open();
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    m_strLocal = Lines(catalogue.FormatUiStringOrBuiltIn(
        FreeDBText::kLocalFormat, database.GetFilePath(),
        SizeText(catalogue, database.GetFileSize()),
        SizeText(catalogue, CCDPlayerDatabase::GetMaxFileSize()), database.GetAlbumCount()));
    m_pLocal->setHtml(AsTable(m_strLocal));
}

void CDatabaseInfoDialog::OnPoll() {
    if (m_pFetch->IsRunning())
        return;
    m_pollTimer.stop();
    ShowRemote(StatsText());
    if (m_nCloseResult >= 0)
        QDialog::done(m_nCloseResult);
}

void CDatabaseInfoDialog::ShowRemote(const QString& strText) {
    m_strRemote = strText;
    m_pRemote->setHtml(AsTable(strText));
}

QString CDatabaseInfoDialog::StatsText() const {
    const std::optional<CServerStats> stats = m_pFetch->Result();
    if (!stats)
        return UiText::Load(m_context.m_catalogue, FreeDBText::kCantRetrieveInfo);
    return Lines(m_context.m_catalogue.FormatUiStringOrBuiltIn(
        FreeDBText::kStatsFormat, stats->m_nTotal, stats->m_nBlues, stats->m_nClassical,
        stats->m_nCountry, stats->m_nFolk, stats->m_nJazz, stats->m_nMisc, stats->m_nNewage,
        stats->m_nReggae, stats->m_nRock, stats->m_nData, stats->m_nSoundtrack,
        stats->m_nCurrentUsers, stats->m_nMaxUsers));
}

void CDatabaseInfoDialog::accept() {
    if (!IsBusy()) {
        QDialog::accept();
        return;
    }
    m_nCloseResult = QDialog::Accepted;
}

// Esc and the window's close box do not wait: the request is left to end by itself.
void CDatabaseInfoDialog::reject() {
    m_pFetch->RequestStop();
    QDialog::reject();
}
