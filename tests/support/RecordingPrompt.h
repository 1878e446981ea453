#pragma once

#include "encoding/EncodeObserver.h"
#include "platform/UserPrompt.h"

#include <mutex>
#include <string>
#include <vector>

// Records every message and question, answering questions with a preset answer.
class CRecordingPrompt : public IUserPrompt {
public:
    struct SEntry {
        std::string m_strText;
        EPromptIcon m_icon;
        bool m_bQuestion;
        std::string m_strTitle;
    };

    void ShowMessage(const std::string& strText, EPromptIcon icon) override {
        std::lock_guard lock(m_mutex);
        m_entries.push_back({strText, icon, false, {}});
    }
    bool AskYesNo(const std::string& strText, EPromptIcon icon) override {
        std::lock_guard lock(m_mutex);
        m_entries.push_back({strText, icon, true, {}});
        return m_bAnswer;
    }
    bool AskYesNoTitled(const std::string& strText, EPromptIcon icon,
                        const std::string& strTitle) override {
        std::lock_guard lock(m_mutex);
        m_entries.push_back({strText, icon, true, strTitle});
        return m_bAnswer;
    }

    std::vector<SEntry> Entries() {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_entries.clear();
    }

    bool m_bAnswer = true;

private:
    std::mutex m_mutex;
    std::vector<SEntry> m_entries;
};

// Records what the encode worker reports, in order.
class CRecordingObserver : public IEncodeObserver {
public:
    void OnUpdateCounters() override { Add("counters"); }
    void OnTrackStarted(const CTrackItem&, unsigned) override { Add("started"); }
    void OnTrackFinished(const CTrackItem&, unsigned) override { Add("finished"); }
    void OnTrackInfo(const CTrackItem&, const CEncoderLibrary::Config&, unsigned) override {
        Add("info");
    }
    void OnRunEnded() override { Add("ended"); }

    std::vector<std::string> Events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

private:
    void Add(const char* event) {
        std::lock_guard lock(m_mutex);
        m_events.emplace_back(event);
    }

    std::mutex m_mutex;
    std::vector<std::string> m_events;
};
