#pragma once

#include "platform/UserPrompt.h"

#include <QMessageBox>
#include <QString>

class CStringCatalogue;

// The core's message boxes and questions as modal message boxes on the window thread.
// The encode worker and the FreeDB threads call it from their own threads and wait for
// the answer, as they would on a sent message; the window thread calls it directly.
class CWindowPrompt : public IUserPrompt {
public:
    // The Yes and No buttons are labelled from `pCatalogue` when one is given.
    explicit CWindowPrompt(QString strCaption, const CStringCatalogue* pCatalogue = nullptr);

    void ShowMessage(const std::string& strText, EPromptIcon icon) override;
    bool AskYesNo(const std::string& strText, EPromptIcon icon) override;
    bool AskYesNoTitled(const std::string& strText, EPromptIcon icon,
                        const std::string& strTitle) override;

private:
    QMessageBox::StandardButton Exec(const std::string& strText, EPromptIcon icon,
                                     QMessageBox::StandardButtons buttons,
                                     const QString& strCaption);

    QString m_strCaption;
    const CStringCatalogue* m_pCatalogue;
};
