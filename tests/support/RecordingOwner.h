#pragma once

#include "freedb/protocol/AlbumSourceOwner.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// An album-source owner that keeps every log line, answers the password prompt with
// what the test set, and offers a stop flag the test can raise from any thread.
class CRecordingOwner : public IAlbumSourceOwner {
public:
    void LogLine(const std::string& strLine) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(strLine);
    }
    bool IsStopRequested() const override { return m_bStop; }
    bool AskProxyPassword(std::string& strUser, std::string& strPassword) override {
        ++m_nPrompts;
        if (!m_bConfirmPrompt)
            return false;
        strUser = m_strPromptUser;
        strPassword = m_strPromptPassword;
        return true;
    }

    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }
    std::string LastLine() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines.empty() ? std::string() : m_lines.back();
    }
    bool HasLine(const std::string& strLine) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const std::string& line : m_lines) {
            if (line == strLine)
                return true;
        }
        return false;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.clear();
    }

    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nPrompts{0};
    bool m_bConfirmPrompt = false;
    std::string m_strPromptUser;
    std::string m_strPromptPassword;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};
