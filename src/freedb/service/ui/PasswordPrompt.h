#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <string>

class CStringCatalogue;
class QDialog;
class QWidget;

// The "Proxy Server Password" question of a FreeDB window, asked for a thread that needs
// it: the asking thread waits (a blocking queued call) while the window's thread shows
// the dialog. A stop answers it as cancelled at once, so the window never waits for a
// thread that waits for the window: nothing is asked while `isStopping` says so or after
// Close, and Cancel closes a dialog that is open.
class CPasswordPrompt : public QObject {
    Q_OBJECT
public:
    CPasswordPrompt(const CStringCatalogue& catalogue, QWidget* pWindow,
                    std::function<bool()> isStopping);

    // Any thread: shows the credentials to confirm; true when the user did.
    bool Ask(std::string& strUser, std::string& strPassword);
    // The window's thread.
    void Cancel();
    // The window is closing: no question any more.
    void Close();
    // The window's thread, while it waits for a thread to end outside its event loop:
    // answers a question already on its way, so the asking thread goes on.
    void AnswerPending();
    bool IsOpen() const { return !m_pDialog.isNull(); }

signals:
    // On the window's thread, as the dialog opens (tests answer it from here).
    void Opened(QDialog* pDialog);

private:
    bool AskHere(std::string& strUser, std::string& strPassword);

    const CStringCatalogue& m_catalogue;
    QWidget* m_pWindow;
    std::function<bool()> m_isStopping;
    std::atomic<bool> m_bClosed{false};
    QPointer<QDialog> m_pDialog;
};
