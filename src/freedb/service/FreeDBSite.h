#pragma once

#include <string>
#include <string_view>

// One FreeDB (gnudb) mirror as the server list holds it: host, protocol ("cddbp" or
// "http"), port, gateway path ("-" for cddbp), latitude, longitude and a free-text
// description. Its one-line form joins the seven fields with single blanks; it is what
// CDPLAYER.INI stores as "Server%u" and what a "sites" reply sends.
class CFreeDBSite {
public:
    CFreeDBSite() = default;
    // Parses a one-line form (see Parse).
    explicit CFreeDBSite(std::string_view line);
    CFreeDBSite(std::string strHost, std::string strProtocol, std::string strPort,
                std::string strPath, std::string strLatitude, std::string strLongitude,
                std::string strDescription);

    // Splits at the first six blanks; the description is the rest of the line, blanks
    // included. With fewer blanks the fields after the last one found stay empty. The
    // fields are replaced and m_strLine is rebuilt from them.
    void Parse(std::string_view line);
    // The seven fields joined with single blanks: always six blanks, even for empty fields.
    std::string BuildLine() const;
    // Rebuilds m_strLine after fields were changed directly.
    void UpdateLine() { m_strLine = BuildLine(); }

    bool IsHttp() const { return m_strProtocol == "http"; }

    std::string m_strHost;
    std::string m_strProtocol;
    std::string m_strPort;
    std::string m_strPath;
    std::string m_strLatitude;
    std::string m_strLongitude;
    std::string m_strDescription;
    std::string m_strLine;
};
