#pragma once

#include "freedb/protocol/CddbClient.h"

#include <string>

// The CDDB client over the HTTP gateway: every command is one GET of the server's CGI
// path on a connection of its own, directly or through a proxy (with Basic
// authentication when set), and the reply body is read as on a direct connection. It
// also carries the word search of the FreeDB web site.
class CCddbHttpClient : public CCddbClient {
public:
    // The error line of a connection whose proxy password prompt was cancelled.
    static constexpr unsigned kErrorNoProxyPassword = 108;

    CCddbHttpClient(CFreeDBSettings& settings, const CProfile* pProfile);

    // Stores the server and sets up the proxy (asking the owner for the password once,
    // when the settings say so; a cancelled prompt fails); connects nothing.
    bool ConnectServer(const std::string& strHost, const std::string& strPath,
                       const std::string& strPortText, unsigned nTimeout, bool bQuiet) override;
    bool SendCommand(const std::string& strCommand) override;
    bool Close() override { return true; }

    // Searches the web site for the words in the chosen fields and appends the albums
    // found to `results`. False when no field is chosen or the request failed.
    virtual bool Search(const std::string& strWords, bool bInArtists, bool bInTitles,
                        bool bInTracks, bool bInOther, CAlbumList& results);
    // The web site to search instead of the fixed one (for a mirror or a test server).
    void SetWebHost(const std::string& strHost, const std::string& strPortText);

    // "path?cmd=...&hello=...&proto=6", blanks as "+".
    std::string BuildQuery(const std::string& strCommand) const;
    // Sends one GET request for the path and reads the reply head.
    bool Request(const std::string& strPath);
    // RFC 2045 base64, "=" filled, no line breaks, any length.
    static void EncodeBase64(std::string& strText);

protected:
    bool HelloRefused() override;

private:
    void ReadPage(CAlbumList& results);

    std::string m_strPath;
    std::string m_strHost;
    std::string m_strPortText;
    unsigned m_nTimeout = 0;
    bool m_bPasswordAsked = false;
    bool m_bAnswered = false; // a command has had its reply

    std::string m_strWebHost;
    std::string m_strWebPort;
};
