#pragma once

#include "freedb/service/FreeDBSettings.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

class CProfile;

// The rules of the "Connection" page of the FreeDB settings without the page: it edits a
// copy of the settings (with the built-in servers when the copy has none) and saves it
// with the page's values. Lives in the window thread.
class CConnectionPageModel {
public:
    // The choices of "Maximal total connections".
    static constexpr std::array<unsigned, 4> kConnectionChoices = {1, 5, 10, 20};
    static constexpr unsigned kMinTimeout = 5;
    static constexpr unsigned kMaxTimeout = 999;
    // Each part of the e-mail address.
    static constexpr std::size_t kMaxEmailPart = 50;

    // What the page's controls hold when it is saved.
    struct SValues {
        int m_nServer = -1; // -1: nothing selected
        unsigned m_nTimeout = 0;
        std::string m_strEmailUser;
        std::string m_strEmailDomain;
        bool m_bUseProxy = false;
        unsigned m_nMaxThreads = 5;
    };

    explicit CConnectionPageModel(const CFreeDBSettings& settings);

    CFreeDBSettings& Settings() { return m_settings; }
    const CFreeDBSettings& Settings() const { return m_settings; }
    // Reads the copy again from the settings file (after a new server list was stored).
    void Reload();

    // The server box: host, protocol and description of each server, in list order.
    std::vector<std::string> ServerTexts(const std::string& strFormat) const;
    // The last server whose host and port are the chosen ones, or -1.
    int ChosenServer() const;
    // "Use proxy" is offered for every server but a direct CDDB one.
    bool IsProxyOffered(int nServer) const;
    // The stored address split at its first '@'; without one it is all user part.
    std::pair<std::string, std::string> EmailParts() const;
    // The entry of kConnectionChoices that equals `nMaxThreads`, else the one of 5.
    static int ConnectionChoice(unsigned nMaxThreads);

    // Applies the values to the copy and saves it, and "MaxThreadsCount" into the profile.
    bool Save(const SValues& values, CProfile& profile);

private:
    CFreeDBSettings m_settings;
};
