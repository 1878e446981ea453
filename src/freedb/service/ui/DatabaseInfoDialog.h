#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>

struct SAppContext;
class CPasswordPrompt;
class CServerStatsFetch;
class QTextEdit;
class QTabWidget;

// "Database Info": the chosen server's statistics, asked on a thread of their own, and the
// local CD Player database's size and album count. Refresh asks the current page again;
// OK waits until no page is busy.
class CDatabaseInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDatabaseInfoDialog(SAppContext& context, QWidget* pParent = nullptr);
    ~CDatabaseInfoDialog() override;

    void accept() override;
    void reject() override;
    QTabWidget& Pages() { return *m_pPages; }
    // The texts shown, as the catalogue formats them.
    const QString& RemoteText() const { return m_strRemote; }
    const QString& LocalText() const { return m_strLocal; }
    bool IsBusy() const;
    void Refresh();

private:
    void RefreshRemote();
    void RefreshLocal();
    void OnPoll();
    void ShowRemote(const QString& strText);
    QString StatsText() const;

    SAppContext& m_context;
    QTabWidget* m_pPages;
    QTextEdit* m_pRemote;
    QTextEdit* m_pLocal;
    QString m_strRemote;
    QString m_strLocal;
    CPasswordPrompt* m_pPrompt;
    QTimer m_pollTimer;
    int m_nCloseResult = -1;             // the close waiting for the remote page, -1: none
    std::atomic<bool> m_bClosing{false}; // read by the asking thread too
    std::unique_ptr<CServerStatsFetch> m_pFetch;
};
