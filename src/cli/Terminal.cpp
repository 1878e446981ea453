#include "cli/Terminal.h"

#include <iostream>
#include <unistd.h>

CTerminal::CTerminal(bool bAssumeYes)
    : m_bAssumeYes(bAssumeYes), m_bErrorIsTerminal(::isatty(STDERR_FILENO) != 0),
      m_bInputIsTerminal(::isatty(STDIN_FILENO) != 0) {}

void CTerminal::ClearProgressLine() {
    if (!m_bErrorIsTerminal || m_strProgress.empty())
        return;
    // Back to the first line of the progress and everything below it erased.
    std::cerr << '\r';
    for (char c : m_strProgress) {
        if (c == '\n')
            std::cerr << "\033[A";
    }
    std::cerr << "\033[J";
}

void CTerminal::ShowMessage(const std::string& strText, EPromptIcon) {
    std::lock_guard lock(m_mutex);
    ClearProgressLine();
    std::cerr << strText << std::endl;
    m_strProgress.clear();
}

bool CTerminal::AskYesNo(const std::string& strText, EPromptIcon) {
    std::lock_guard lock(m_mutex);
    ClearProgressLine();
    m_strProgress.clear();
    std::cerr << strText << '\n';
    if (m_bAssumeYes) {
        std::cerr << "Yes (--yes)" << std::endl;
        return true;
    }
    if (!m_bInputIsTerminal) {
        std::cerr << "No (standard input is not a terminal; --yes answers Yes)" << std::endl;
        return false;
    }
    std::cerr << "[y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void CTerminal::ShowProgress(const std::string& strLine) {
    std::lock_guard lock(m_mutex);
    if (strLine == m_strProgress)
        return;
    if (m_bErrorIsTerminal) {
        ClearProgressLine();
        std::cerr << strLine << std::flush;
    } else {
        std::cerr << strLine << '\n';
    }
    m_strProgress = strLine;
}

void CTerminal::EndProgress() {
    std::lock_guard lock(m_mutex);
    // The last sample of a finished run would show its final track short of 100 %.
    ClearProgressLine();
    std::cerr << std::flush;
    m_strProgress.clear();
}
