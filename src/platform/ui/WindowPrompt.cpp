#include "platform/ui/WindowPrompt.h"

#include "lang/ui/UiText.h"

#include <QApplication>
#include <QPushButton>
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

constexpr unsigned kYesText = 62201;
constexpr unsigned kNoText = 62202;
} // namespace

CWindowPrompt::CWindowPrompt(QString strCaption, const CStringCatalogue* pCatalogue)
    : m_strCaption(std::move(strCaption)), m_pCatalogue(pCatalogue) {}

void CWindowPrompt::ShowMessage(const std::string& strText, EPromptIcon icon) {
    Exec(strText, icon, QMessageBox::Ok, m_strCaption);
}

bool CWindowPrompt::AskYesNo(const std::string& strText, EPromptIcon icon) {
    return Exec(strText, icon, QMessageBox::Yes | QMessageBox::No, m_strCaption) ==
           QMessageBox::Yes;
}

bool CWindowPrompt::AskYesNoTitled(const std::string& strText, EPromptIcon icon,
                                   const std::string& strTitle) {
    return Exec(strText, icon, QMessageBox::Yes | QMessageBox::No, UiText::FromUtf8(strTitle)) ==
           QMessageBox::Yes;
}

QMessageBox::StandardButton CWindowPrompt::Exec(const std::string& strText, EPromptIcon icon,
                                                QMessageBox::StandardButtons buttons,
                                                const QString& strCaption) {
    auto answer = QMessageBox::NoButton;
    const auto show = [&] {
        QMessageBox box(ToMessageBoxIcon(icon), strCaption, UiText::FromUtf8(strText), buttons,
                        QApplication::activeWindow());
        if (m_pCatalogue != nullptr && (buttons & QMessageBox::Yes)) {
            box.button(QMessageBox::Yes)->setText(UiText::Load(*m_pCatalogue, kYesText));
            box.button(QMessageBox::No)->setText(UiText::Load(*m_pCatalogue, kNoText));
        }
        answer = static_cast<QMessageBox::StandardButton>(box.exec());
    };
    // A blocking call from the window thread onto itself would never return.
    if (QThread::currentThread() == qApp->thread())
        show();
    else
        QMetaObject::invokeMethod(qApp, show, Qt::BlockingQueuedConnection);
    return answer;
}
