#include "encoding/ui/EncodingDialog.h"

#include "app/AppContext.h"
#include "app/WavsmithMainFrame.h"
#include "encoding/AppSettings.h"
#include "encoding/EncodeRun.h"
#include "encoding/TrackItem.h"
#include "filelist/FileList.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/Text.h"
#include "platform/ui/ThemeIcon.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QThread>
#include <QVBoxLayout>
#include <chrono>
#include <thread>

namespace {
constexpr unsigned kDetailsText = 59511;
constexpr unsigned kStopText = 59512;
constexpr unsigned kTrayText = 59513;
constexpr unsigned kInputLabel = 59514;
constexpr unsigned kOutputLabel = 59515;
constexpr unsigned kCaptionText = 59516;
constexpr unsigned kCurrentFileLabel = 59517;
constexpr unsigned kAllFilesLabel = 59518;
constexpr unsigned kStopQuestion = 60488;
constexpr int kRefreshMilliseconds = 350;
constexpr int kEndOfRunMilliseconds = 10;
constexpr int kCollapsedTwelfths = 5;

long long SteadySeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Shows a text only when it changed, so an unchanged figure costs no repaint.
void SetText(QLabel* pLabel, const std::string& strText) {
    const QString text = UiText::FromUtf8(strText);
    if (pLabel->text() != text)
        pLabel->setText(text);
}

void SetBar(QProgressBar* pBar, int nValue, const std::string& strText) {
    const QString text = UiText::FromUtf8(strText);
    if (pBar->value() == nValue && pBar->format() == text)
        return;
    // A progress bar repaints at once on every new value; held back, the bars and the
    // list are painted together in the window's next update.
    pBar->setUpdatesEnabled(false);
    pBar->setValue(nValue);
    pBar->setFormat(text);
    pBar->setUpdatesEnabled(true);
}
} // namespace

CEncodingDialog::CEncodingDialog(SAppContext& context, QWidget* pParent, std::string strLibraryName)
    : QDialog(pParent), m_context(context), m_strLibraryName(std::move(strLibraryName)),
      m_pRowsLayout(new QGridLayout), m_pOverallBar(new QProgressBar(this)),
      m_pTrayButton(new QPushButton(this)), m_pDetailsButton(new QPushButton(this)),
      m_pStopButton(new QPushButton(this)), m_pDetails(new QWidget(this)),
      m_pInput(new QLineEdit(m_pDetails)), m_pOutput(new QLineEdit(m_pDetails)),
      m_pFormat1(new QLabel(m_pDetails)), m_pFormat2(new QLabel(m_pDetails)),
      m_pFrame(new QLabel(m_pDetails)), m_pTime(new QLabel(m_pDetails)),
      m_pPlay(new QLabel(m_pDetails)), m_pEta(new QLabel(m_pDetails)) {
    // The run is made now, so its worker count gives the window its rows; its workers
    // start with the window.
    m_pRun = std::make_unique<CEncodeRun>(context.m_fileList.Tracks(), context.m_settings,
                                          m_library, static_cast<IEncodeObserver&>(*this),
                                          static_cast<IUserPrompt&>(*this));
    BuildWindow();
    BuildWorkerRows(m_pRun->WorkerCount());
    MeasureHeights();
    m_refreshTimer.setInterval(kRefreshMilliseconds);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CEncodingDialog::OnRefreshTimer);
    m_endTimer.setInterval(kEndOfRunMilliseconds);
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, &CEncodingDialog::EndOfRun);
}

CEncodingDialog::~CEncodingDialog() {
    // Only reached with a running worker when the window is torn down from outside: the
    // worker may wait on this thread, so its calls are served until it has ended.
    if (m_bWorkerStarted && m_pRun && !m_pRun->WorkerEnded()) {
        m_pRun->RequestStop();
        while (!m_pRun->WorkerEnded()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    m_pRun.reset();
}

void CEncodingDialog::BuildWindow() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    // The window's own English texts; a language replaces them with its catalogue texts.
    const bool translated = catalogue.IsLanguageSelected();
    const auto text = [&](unsigned nId, const char* strEnglish) {
        return translated ? UiText::Load(catalogue, nId) : QString::fromLatin1(strEnglish);
    };
    setWindowTitle(text(kCaptionText, "Encoding"));
    m_pTrayButton->setText(text(kTrayText, "&Hide to tray"));
    m_pDetailsButton->setText(text(kDetailsText, "&Details..."));
    m_pStopButton->setText(text(kStopText, "&Stop"));
    m_pTrayButton->setIcon(ThemeIcon::Get("go-bottom", QStyle::SP_TitleBarMinButton));
    m_pStopButton->setIcon(ThemeIcon::Get("process-stop", QStyle::SP_BrowserStop));
    for (QPushButton* button : {m_pTrayButton, m_pDetailsButton, m_pStopButton})
        button->setAutoDefault(false);

    m_pOverallBar->setObjectName(QStringLiteral("overallBar"));
    m_pOverallBar->setRange(0, 100);
    m_pOverallBar->setAlignment(Qt::AlignCenter);
    m_pOverallBar->setAccessibleName(UiText::Load(catalogue, kAllFilesLabel));
    m_pOverallBar->setFormat(m_pOverallBar->accessibleName());
    m_pOverallBar->setValue(0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pTrayButton);
    buttons->addWidget(m_pDetailsButton);
    buttons->addStretch(1);
    buttons->addWidget(m_pStopButton);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addLayout(m_pRowsLayout);
    layout->addWidget(m_pOverallBar);
    layout->addLayout(buttons);
    layout->addWidget(BuildDetails(), 1);

    connect(m_pTrayButton, &QPushButton::clicked, this, &CEncodingDialog::HideToTray);
    connect(m_pDetailsButton, &QPushButton::clicked, this, &CEncodingDialog::ToggleDetails);
    connect(m_pStopButton, &QPushButton::clicked, this, &CEncodingDialog::StopEncoding);

    setMinimumWidth(520);
}

void CEncodingDialog::BuildWorkerRows(unsigned nWorkers) {
    const QString fileLabel = UiText::Load(m_context.m_catalogue, kCurrentFileLabel);
    m_progress.assign(nWorkers, CEncodeProgress(m_context.m_catalogue));
    m_trackInfo.assign(nWorkers, STrackInfo());
    m_rows.assign(nWorkers, SWorkerRow());
    for (unsigned n = 0; n < nWorkers; ++n) {
        SWorkerRow& row = m_rows[n];
        row.m_pBar = new QProgressBar(this);
        row.m_pBar->setObjectName(QStringLiteral("fileBar%1").arg(n));
        row.m_pBar->setRange(0, 100);
        row.m_pBar->setValue(0);
        row.m_pBar->setAlignment(Qt::AlignCenter);
        row.m_pBar->setAccessibleName(fileLabel);
        row.m_pBar->setFormat(fileLabel);
        if (nWorkers == 1) {
            m_pRowsLayout->addWidget(row.m_pBar, 0, 0, 1, 2);
            continue;
        }
        // Several tracks at once: each bar has the name of its file beside it, and shows
        // only while its worker has a track; its place stays, so the buttons do not move.
        row.m_pName = new QLabel(this);
        row.m_pName->setTextFormat(Qt::PlainText);
        row.m_pName->setMinimumWidth(160);
        row.m_pName->setMaximumWidth(240);
        row.m_pBar->setFormat(QString());
        for (QWidget* widget :
             {static_cast<QWidget*>(row.m_pName), static_cast<QWidget*>(row.m_pBar)}) {
            QSizePolicy policy = widget->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            widget->setSizePolicy(policy);
            widget->hide();
        }
        m_pRowsLayout->addWidget(row.m_pName, static_cast<int>(n), 0);
        m_pRowsLayout->addWidget(row.m_pBar, static_cast<int>(n), 1);
    }
    m_pRowsLayout->setColumnStretch(1, 1);
}

void CEncodingDialog::MeasureHeights() {
    // The full height holds the details; collapsed, the window keeps 5/12 of it, which
    // must still show the bars and buttons.
    m_nFullHeight = sizeHint().height();
    const int top = m_nFullHeight - m_pDetails->sizeHint().height() - layout()->spacing();
    m_nFullHeight =
        std::max(m_nFullHeight, (top * 12 + kCollapsedTwelfths - 1) / kCollapsedTwelfths);
    SetCollapsed(true);
}

QWidget* CEncodingDialog::BuildDetails() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    m_pDetails->setObjectName(QStringLiteral("details"));
    for (QLineEdit* line : {m_pInput, m_pOutput}) {
        // Lines of text that can be scrolled and copied, on the window's background.
        line->setReadOnly(true);
        line->setFrame(false);
        // Its text where the figures' start, one line high as they are.
        line->setTextMargins(-2, 0, 0, 0);
        line->setFixedHeight(line->fontMetrics().height() + 4);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        line->setPalette(palette);
    }
    m_pInput->setObjectName(QStringLiteral("input"));
    m_pInput->setAccessibleName(UiText::Load(catalogue, kInputLabel));
    m_pOutput->setAccessibleName(UiText::Load(catalogue, kOutputLabel));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const char* names[] = {"format1", "format2", "frame", "time", "play", "eta"};
    QLabel* labels[] = {m_pFormat1, m_pFormat2, m_pFrame, m_pTime, m_pPlay, m_pEta};
    for (size_t i = 0; i < std::size(labels); ++i) {
        labels[i]->setObjectName(QString::fromLatin1(names[i]));
        labels[i]->setTextFormat(Qt::PlainText);
        // The figures are padded with blanks for a fixed font, as their formats expect.
        if (i >= 2)
            labels[i]->setFont(fixed);
    }
    auto* layout = new QGridLayout(m_pDetails);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(m_pInput, 0, 0, 1, 2);
    layout->addWidget(m_pOutput, 1, 0, 1, 2);
    layout->addWidget(m_pFormat1, 2, 0, 1, 2);
    layout->addWidget(m_pFormat2, 3, 0, 1, 2);
    layout->addWidget(m_pFrame, 4, 0);
    layout->addWidget(m_pPlay, 4, 1);
    layout->addWidget(m_pTime, 5, 0);
    layout->addWidget(m_pEta, 5, 1);
    layout->setRowStretch(6, 1);
    layout->setColumnStretch(0, 1);
    return m_pDetails;
}

int CEncodingDialog::RunModal() {
    // An event loop of the window's own rather than exec(): hiding a dialog ends exec(),
    // and the window hides itself in the tray while the run goes on.
    setWindowModality(Qt::ApplicationModal);
    show();
    Start();
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    if (!m_bEnded)
        loop.exec(QEventLoop::DialogExec);
    return result();
}

void CEncodingDialog::Start() {
    if (!m_library.LoadEncoderLibrary(m_context.m_prompt, m_strLibraryName)) {
        // No worker: the window stays until Stop closes it.
        m_pRun.reset();
        return;
    }
    m_bWorkerStarted = m_pRun->Start(m_context.m_settings.m_nThreadPriority);
    m_refreshTimer.start();
}

bool CEncodingDialog::WorkerStarted() const {
    return m_bWorkerStarted && m_pRun != nullptr;
}

void CEncodingDialog::OnRefreshTimer() {
    emit ProgressTick();
    UpdateEncodeCounters();
    // The worker posts its end; the flag is watched as well, whatever happens to the post.
    if (m_pRun && m_pRun->WorkerEnded() && !m_endTimer.isActive())
        m_endTimer.start();
}

void CEncodingDialog::UpdateEncodeCounters() {
    if (!m_pRun)
        return;
    const CTrackList& tracks = m_context.m_fileList.Tracks();
    // The details follow the first worker that is encoding.
    for (unsigned n = 0; n < m_rows.size(); ++n) {
        if (m_pRun->Counters(n).m_nTrack >= 0) {
            m_nDetailWorker = n;
            break;
        }
    }
    const bool figuresShown = !m_bCollapsed && !m_bInTray;
    for (unsigned n = 0; n < m_rows.size(); ++n)
        m_progress[n].UpdateEncodeCounters(tracks, m_pRun->Counters(n), SteadySeconds(),
                                           !figuresShown || n != m_nDetailWorker);
    const CEncodeProgress& detail = m_progress[m_nDetailWorker];
    if (m_bInTray) {
        m_pTray->setToolTip(QStringLiteral("Wavsmith, ") +
                            UiText::FromUtf8(detail.m_strOverallLine));
        return;
    }
    for (unsigned n = 0; n < m_rows.size(); ++n)
        ShowWorkerRow(n);
    SetBar(m_pOverallBar, static_cast<int>(detail.m_nOverallPercent), detail.m_strOverallLine);
    if (!figuresShown)
        return;
    // Another worker's track, or a new track while the figures were hidden.
    if (m_nShownInfo != static_cast<int>(m_nDetailWorker) &&
        m_trackInfo[m_nDetailWorker].m_bKnown) {
        ShowTrackInfo(m_trackInfo[m_nDetailWorker]);
        m_nShownInfo = static_cast<int>(m_nDetailWorker);
    }
    SetText(m_pFrame, detail.m_strFrameLine);
    SetText(m_pTime, detail.m_strTimeLine);
    SetText(m_pPlay, detail.m_strSpeedLine);
    SetText(m_pEta, detail.m_strEtaLine);
}

void CEncodingDialog::ShowWorkerRow(unsigned nWorker) {
    const SEncodeCounters& counters = m_pRun->Counters(nWorker);
    const SWorkerRow& row = m_rows[nWorker];
    const int track = counters.m_nTrack;
    if (row.m_pName == nullptr) {
        // Before the first track has its counters there is no percentage to show yet.
        if (track >= 0 || counters.m_nTotalFrames != 0)
            SetBar(row.m_pBar, m_progress[nWorker].m_nFilePercent,
                   m_progress[nWorker].m_strFileLine);
        return;
    }
    row.m_pName->setVisible(track >= 0);
    row.m_pBar->setVisible(track >= 0);
    if (track < 0)
        return;
    const CTrackItem& item = m_context.m_fileList.Tracks().At(static_cast<size_t>(track));
    SetText(row.m_pName, std::string(CText::FileNamePart(item.m_strWavPath)));
    SetBar(row.m_pBar, m_progress[nWorker].m_nFilePercent, m_progress[nWorker].m_strFileLine);
}

void CEncodingDialog::ShowTrackInfo(const STrackInfo& info) {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    m_pInput->setText(UiText::Load(catalogue, kInputLabel) + QLatin1Char(' ') + info.m_strInput);
    m_pOutput->setText(UiText::Load(catalogue, kOutputLabel) + QLatin1Char(' ') + info.m_strOutput);
    m_pInput->setCursorPosition(0);
    m_pOutput->setCursorPosition(0);
    SetText(m_pFormat1, CEncodeProgress::Format1Text(info.m_config));
    SetText(m_pFormat2, CEncodeProgress::Format2Text(info.m_config));
}

void CEncodingDialog::EndOfRun() {
    if (m_bEnded)
        return;
    // The stop question stays answerable; the window closes once it is answered.
    if (m_bAsking) {
        m_bEndPending = true;
        return;
    }
    m_bEnded = true;
    m_refreshTimer.stop();
    m_endTimer.stop();
    // The worker has ended (or never started); its thread is joined before the library goes.
    m_pRun.reset();
    m_library.ReleaseEncoderLibrary();
    if (m_bInTray)
        RestoreFromTray();
    if (m_pTray != nullptr)
        m_pTray->hide();
    done(QDialog::Accepted);
}

void CEncodingDialog::ToggleDetails() {
    SetCollapsed(!m_bCollapsed);
}

void CEncodingDialog::SetCollapsed(bool bCollapsed) {
    m_bCollapsed = bCollapsed;
    m_pDetails->setVisible(!bCollapsed);
    // Each image is made when first needed: most runs are never expanded.
    QIcon& icon = bCollapsed ? m_expandIcon : m_collapseIcon;
    // The plain arrows, as the coloured ones of common themes look disabled.
    if (icon.isNull())
        icon = bCollapsed ? ThemeIcon::Get("go-down-symbolic", QStyle::SP_TitleBarUnshadeButton)
                          : ThemeIcon::Get("go-up-symbolic", QStyle::SP_TitleBarShadeButton);
    m_pDetailsButton->setIcon(icon);
    // Left, top and width stay; only the height changes.
    setFixedHeight(bCollapsed ? m_nFullHeight * kCollapsedTwelfths / 12 : m_nFullHeight);
    if (!bCollapsed)
        UpdateEncodeCounters();
}

QWidget* CEncodingDialog::MainWindow() const {
    return parentWidget() != nullptr ? parentWidget()->window() : nullptr;
}

void CEncodingDialog::HideToTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // No tray on this desktop: out of the way is the next best.
        if (QWidget* main = MainWindow())
            main->showMinimized();
        showMinimized();
        return;
    }
    if (m_pTray == nullptr) {
        const QWidget* main = MainWindow();
        m_pTray = new QSystemTrayIcon(main != nullptr && !main->windowIcon().isNull()
                                          ? main->windowIcon()
                                          : style()->standardIcon(QStyle::SP_MediaPlay),
                                      this);
        m_pTray->setToolTip(QStringLiteral("Wavsmith"));
        connect(m_pTray, &QSystemTrayIcon::activated, this, &CEncodingDialog::RestoreFromTray);
    }
    m_bInTray = true;
    if (QWidget* main = MainWindow())
        main->hide();
    hide();
    m_pTray->show();
}

void CEncodingDialog::RestoreFromTray() {
    if (!m_bInTray)
        return;
    m_bInTray = false;
    if (QWidget* main = MainWindow())
        main->show();
    show();
    m_pTray->hide();
    UpdateEncodeCounters();
}

void CEncodingDialog::StopEncoding() {
    if (m_bStopping || m_bEnded || m_bAsking)
        return;
    // The worker goes on while the question is open.
    m_bAsking = true;
    const bool stop = m_context.m_prompt.AskYesNoTitled(
        m_context.m_catalogue.LoadUiString(kStopQuestion), EPromptIcon::Question,
        UiText::ToUtf8(CWavsmithMainFrame::ProgramTitle()));
    m_bAsking = false;
    if (m_bEndPending) {
        EndOfRun();
        return;
    }
    if (!stop)
        return;
    m_bStopping = true;
    m_pStopButton->setEnabled(false);
    if (!m_pRun) {
        EndOfRun();
        return;
    }
    // The worker ends after its current read; the timer sees it end and closes the window.
    // Never waited for here: the worker may be waiting on this thread.
    m_pRun->RequestStop();
}

void CEncodingDialog::reject() {
    StopEncoding();
}

void CEncodingDialog::closeEvent(QCloseEvent* pEvent) {
    pEvent->ignore();
    if (!m_bEnded)
        StopEncoding();
}

template <class TCall> void CEncodingDialog::CallOnWindowThread(TCall call) {
    // A blocking call from the window thread onto itself would never return.
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, std::move(call), Qt::BlockingQueuedConnection);
}

void CEncodingDialog::OnUpdateCounters() {
    QMetaObject::invokeMethod(
        this, [this] { UpdateEncodeCounters(); }, Qt::QueuedConnection);
}

void CEncodingDialog::OnTrackStarted(const CTrackItem&, unsigned) {
    CallOnWindowThread([this] { emit TracksChanged(); });
}

void CEncodingDialog::OnTrackFinished(const CTrackItem&, unsigned) {
    CallOnWindowThread([this] { emit TracksChanged(); });
}

void CEncodingDialog::OnTrackInfo(const CTrackItem& track, const CEncoderLibrary::Config& config,
                                  unsigned nWorker) {
    // Copies: the window shows them when it gets to them, the worker goes on at once.
    STrackInfo info{UiText::FromUtf8(track.m_strWavPath), UiText::FromUtf8(track.m_strMp3Path),
                    config, true};
    QMetaObject::invokeMethod(
        this,
        [this, nWorker, info = std::move(info)] {
            m_trackInfo[nWorker] = info;
            if (m_nShownInfo == static_cast<int>(nWorker))
                m_nShownInfo = -1;
            if (nWorker == m_nDetailWorker && !m_bCollapsed && !m_bInTray) {
                ShowTrackInfo(info);
                m_nShownInfo = static_cast<int>(nWorker);
            }
        },
        Qt::QueuedConnection);
}

void CEncodingDialog::OnRunEnded() {
    // Posted, not waited for: the window joins the worker once it has ended.
    QMetaObject::invokeMethod(
        this, [this] { m_endTimer.start(); }, Qt::QueuedConnection);
}

void CEncodingDialog::ShowMessage(const std::string& strText, EPromptIcon icon) {
    CallOnWindowThread([&] {
        RestoreFromTray();
        m_context.m_prompt.ShowMessage(strText, icon);
    });
}

bool CEncodingDialog::AskYesNo(const std::string& strText, EPromptIcon icon) {
    bool answer = false;
    CallOnWindowThread([&] {
        RestoreFromTray();
        answer = m_context.m_prompt.AskYesNo(strText, icon);
    });
    return answer;
}
