#pragma once

#include "encoding/EncodeObserver.h"
#include "encoding/EncodeProgress.h"
#include "encoding/EncoderLibrary.h"
#include "platform/UserPrompt.h"

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

struct SAppContext;
class CEncodeRun;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSystemTrayIcon;

// The encoding window: loads the encoder library, runs the encode on its workers and shows
// the total and the percentage of each track being encoded (one bar with one worker, a line
// and a bar per worker with several), the current files and the figures of the first
// running track, every 350 ms from the workers' counters. Stop asks first; the worker then ends
// after its current read and the window closes when its timer sees the worker-ended flag. Lives in
// the window thread; the worker reaches it only through the observer and prompt interfaces, which
// hand each call over to the window thread.
class CEncodingDialog : public QDialog, private IEncodeObserver, private IUserPrompt {
    Q_OBJECT
public:
    CEncodingDialog(SAppContext& context, QWidget* pParent = nullptr,
                    std::string strLibraryName = CEncoderLibrary::kDefaultLibraryName);
    ~CEncodingDialog() override;

    // Loads the library, starts the worker and the timers, and runs the window modally.
    int RunModal();

    bool IsCollapsed() const { return m_bCollapsed; }
    int FullHeight() const { return m_nFullHeight; }
    bool WorkerStarted() const;
    void ToggleDetails();
    void HideToTray();
    void RestoreFromTray();
    // The Stop button, Esc and the close box: the question, then the stop.
    void StopEncoding();

    QProgressBar& FileBar(unsigned nWorker = 0) { return *m_rows[nWorker].m_pBar; }
    QProgressBar& OverallBar() { return *m_pOverallBar; }
    unsigned WorkerRows() const { return static_cast<unsigned>(m_rows.size()); }

signals:
    // A track started or finished: the file list is redrawn in write mode.
    void TracksChanged();
    // The display timer: the file list redraws its statuses.
    void ProgressTick();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    // A worker's line and bar; with one worker the bar alone.
    struct SWorkerRow {
        QLabel* m_pName = nullptr;
        QProgressBar* m_pBar = nullptr;
    };
    // What the details show of a worker's track.
    struct STrackInfo {
        QString m_strInput;
        QString m_strOutput;
        CEncoderLibrary::Config m_config{};
        bool m_bKnown = false;
    };

    void BuildWindow();
    void BuildWorkerRows(unsigned nWorkers);
    QWidget* BuildDetails();
    void MeasureHeights();
    void ShowWorkerRow(unsigned nWorker);
    void Start();
    void OnRefreshTimer();
    void UpdateEncodeCounters();
    void ShowTrackInfo(const STrackInfo& info);
    void EndOfRun();
    void SetCollapsed(bool bCollapsed);
    QWidget* MainWindow() const;
    // Runs `call` on the window thread and waits for it; in place on the window thread.
    template <class TCall> void CallOnWindowThread(TCall call);

    // The worker's side.
    void OnUpdateCounters() override;
    void OnTrackStarted(const CTrackItem& track, unsigned nWorker) override;
    void OnTrackFinished(const CTrackItem& track, unsigned nWorker) override;
    void OnTrackInfo(const CTrackItem& track, const CEncoderLibrary::Config& config,
                     unsigned nWorker) override;
    void OnRunEnded() override;
    void ShowMessage(const std::string& strText, EPromptIcon icon) override;
    bool AskYesNo(const std::string& strText, EPromptIcon icon) override;

    SAppContext& m_context;
    std::string m_strLibraryName;
    CEncoderLibrary m_library;
    std::unique_ptr<CEncodeRun> m_pRun;
    // One per worker.
    std::vector<CEncodeProgress> m_progress;
    std::vector<STrackInfo> m_trackInfo;
    std::vector<SWorkerRow> m_rows;
    // The worker whose track the details show: the first one encoding.
    unsigned m_nDetailWorker = 0;
    // The worker whose track the input, output and format lines show; -1 when none or
    // when that worker has started another track since.
    int m_nShownInfo = -1;
    QTimer m_refreshTimer;
    QTimer m_endTimer;
    QGridLayout* m_pRowsLayout;
    QProgressBar* m_pOverallBar;
    QPushButton* m_pTrayButton;
    QPushButton* m_pDetailsButton;
    QPushButton* m_pStopButton;
    QWidget* m_pDetails;
    QLineEdit* m_pInput;
    QLineEdit* m_pOutput;
    QLabel* m_pFormat1;
    QLabel* m_pFormat2;
    QLabel* m_pFrame;
    QLabel* m_pTime;
    QLabel* m_pPlay;
    QLabel* m_pEta;
    QSystemTrayIcon* m_pTray = nullptr;
    // The Details button's images, collapsed and expanded.
    QIcon m_expandIcon;
    QIcon m_collapseIcon;
    int m_nFullHeight = 0;
    bool m_bCollapsed = false;
    bool m_bInTray = false;
    bool m_bWorkerStarted = false;
    bool m_bStopping = false;
    // The stop question is open; the run ended while it was.
    bool m_bAsking = false;
    bool m_bEndPending = false;
    bool m_bEnded = false;
};
