#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>

struct SAppContext;
class CFreeDBStatusBar;
class COperationLogBox;
class CPasswordPrompt;
class CServerListFetch;
class QListWidget;
class QPushButton;

// "Get FreeDB Servers List": asks the default FreeDB server for its list of servers on a
// thread of its own as soon as it shows, with progress, status and log; the list it
// stores becomes the shared settings' list. Cancel stops the request, at the latest after
// one second.
class CServerListDialog : public QDialog {
    Q_OBJECT
public:
    CServerListDialog(SAppContext& context, QWidget* pParent = nullptr);
    ~CServerListDialog() override;

    // The server asked instead of the default one (a mirror, a test server); before it shows.
    void SetServer(const std::string& strHost, const std::string& strCddbpPort,
                   const std::string& strHttpPort);

    void accept() override;
    void reject() override;
    void done(int nResult) override;

    QListWidget& List() { return *m_pList; }
    CFreeDBStatusBar& Status() { return *m_pStatus; }
    COperationLogBox& LogBox() { return *m_pLog; }
    bool IsWorking() const;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void OnProgressTick();
    void OnStopTick();
    void ShowState();
    void OnEnded();

    SAppContext& m_context;
    QListWidget* m_pList;
    COperationLogBox* m_pLog;
    CFreeDBStatusBar* m_pStatus;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    CPasswordPrompt* m_pPrompt;
    QTimer m_progressTimer;
    QTimer m_stopTimer;
    bool m_bStarted = false;
    bool m_bEnded = false;
    std::atomic<bool> m_bStopping{false}; // read by the asking thread too
    // Last, so it ends first: its thread writes into the log.
    std::unique_ptr<CServerListFetch> m_pFetch;
};
