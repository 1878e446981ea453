#pragma once

#include "platform/UserPrompt.h"

#include <cstdio>
#include <mutex>
#include <string>

// Standard error as the command line's prompt and progress display. Messages keep their
// text; a question is answered Yes with --yes, No when standard input is not a terminal,
// and asked otherwise. The progress line is redrawn in place on a terminal and written
// as plain lines elsewhere. Safe to call from the worker and the main thread at once.
class CTerminal : public IUserPrompt {
public:
    explicit CTerminal(bool bAssumeYes);

    void ShowMessage(const std::string& strText, EPromptIcon icon) override;
    bool AskYesNo(const std::string& strText, EPromptIcon icon) override;

    // Shows `strLine` (one line, or several separated by '\n') as the current progress;
    // on a terminal it replaces the last one.
    void ShowProgress(const std::string& strLine);
    // Ends the progress display; on a terminal its line is cleared.
    void EndProgress();

private:
    void ClearProgressLine();

    std::mutex m_mutex;
    const bool m_bAssumeYes;
    const bool m_bErrorIsTerminal;
    const bool m_bInputIsTerminal;
    std::string m_strProgress;
};
