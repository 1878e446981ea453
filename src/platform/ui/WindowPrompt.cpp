#include "platform/ui/WindowPrompt.h"

#include "lang/ui/UiText.h"

#include <QApplication>
#include <QThread>

namespace {
QMessageBox::Icon ToMessageBoxIcon(EPromptIcon icon) {
    switch (icon) {
    case EPromptIcon::Information:
        return QMessageBox::Information;
    case EPromptIcon::Exclamation:
        return QMessageBox::Warning;
    case EPromptIcon::Question:
        return QMessageBox::Question;
    case EPromptIcon::Error:
        return QMessageBox::Critical;
    case EPromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

CWindowPrompt::CWindowPrompt(QString strCaption) : m_strCaption(std::move(strCaption)) {}

void CWindowPrompt::ShowMessage(const std::string& strText, EPromptIcon icon) {
    Exec(strText, icon, QMessageBox::Ok);
}

bool CWindowPrompt::AskYesNo(const std::string& strText, EPromptIcon icon) {
    return Exec(strText, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton CWindowPrompt::Exec(const std::string& strText, EPromptIcon icon,
                                                QMessageBox::StandardButtons buttons) {
    auto answer = QMessageBox::NoButton;
    const auto show = [&] {
        QMessageBox box(ToMessageBoxIcon(icon), m_strCaption, UiText::FromUtf8(strText), buttons,
                        QApplication::activeWindow());
        answer = static_cast<QMessageBox::StandardButton>(box.exec());
    };
    // A blocking call from the window thread onto itself would never return.
    if (QThread::currentThread() == qApp->thread())
        show();
    else
        QMetaObject::invokeMethod(qApp, show, Qt::BlockingQueuedConnection);
    return answer;
}
