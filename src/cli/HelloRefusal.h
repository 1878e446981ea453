#pragma once

#include <string>

// Notices in the operation log that a server refused this program's hello, and tells the
// user plainly what that means and what to do, rather than "album not found".
class CHelloRefusal {
public:
    // Looks at one log line, stamped or not, level prefix kept or not.
    void Notice(const std::string& strLine);
    bool WasRefused() const { return !m_strReply.empty(); }
    // The message for the error stream, ended by a line feed.
    std::string Message() const;

private:
    std::string m_strReply; // the server's own reply line
};
