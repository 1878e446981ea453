#include "freedb/service/ui/PasswordPrompt.h"

#include "freedb/service/ui/ProxyPasswordDialog.h"

#include <QCoreApplication>
#include <QThread>

CPasswordPrompt::CPasswordPrompt(const CStringCatalogue& catalogue, QWidget* pWindow,
                                 std::function<bool()> isStopping)
    : QObject(pWindow), m_catalogue(catalogue), m_pWindow(pWindow),
      m_isStopping(std::move(isStopping)) {}

bool CPasswordPrompt::Ask(std::string& strUser, std::string& strPassword) {
    if (m_bClosed || m_isStopping())
        return false;
    if (QThread::currentThread() == thread())
        return AskHere(strUser, strPassword);
    bool confirmed = false;
    QMetaObject::invokeMethod(
        this, [&] { confirmed = AskHere(strUser, strPassword); }, Qt::BlockingQueuedConnection);
    return confirmed;
}

// The window's thread. The stop may have come while the question was on its way.
bool CPasswordPrompt::AskHere(std::string& strUser, std::string& strPassword) {
    if (m_bClosed || m_isStopping())
        return false;
    CProxyPasswordDialog dialog(m_catalogue, strUser, strPassword, m_pWindow);
    m_pDialog = &dialog;
    emit Opened(&dialog);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    m_pDialog = nullptr;
    if (!confirmed)
        return false;
    strUser = dialog.User();
    strPassword = dialog.Password();
    return true;
}

void CPasswordPrompt::Cancel() {
    if (m_pDialog)
        m_pDialog->reject();
}

void CPasswordPrompt::Close() {
    m_bClosed = true;
    Cancel();
}

void CPasswordPrompt::AnswerPending() {
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
