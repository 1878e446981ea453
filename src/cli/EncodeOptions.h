#pragma once

#include <optional>
#include <string>

class CAppSettings;
class CArgParser;

// The options of `encode`: playlist, tag, frame flags, WAV deletion, worker priority and
// count, and how the run talks to the user.
class CEncodeOptions {
public:
    void Register(CArgParser& parser);
    void ApplyOverrides(CAppSettings& settings) const;
    static const char* UsageText();

    bool m_bAssumeYes = false;
    bool m_bSave = false;
    bool m_bNoProgress = false;

private:
    std::optional<unsigned> m_nPlaylistType;
    std::optional<std::string> m_strPlaylistFormat;
    std::optional<bool> m_bUseId3Tag;
    std::optional<std::string> m_strComment;
    bool m_bPrivate = false;
    bool m_bCrc = false;
    bool m_bCopyright = false;
    bool m_bOriginal = false;
    bool m_bDeleteWav = false;
    std::optional<bool> m_bDeleteToTrash;
    std::optional<int> m_nPriority;
    std::optional<unsigned> m_nJobs;
};
