#pragma once

#include "support/TempDir.h"

#include <string>
#include <sys/types.h>

// A real tinyproxy on a free loopback port with Basic authentication, run as a child
// process with a configuration of its own and killed when the object ends.
class CTinyProxy {
public:
    CTinyProxy(const std::string& strUser, const std::string& strPassword);
    ~CTinyProxy();
    CTinyProxy(const CTinyProxy&) = delete;
    CTinyProxy& operator=(const CTinyProxy&) = delete;

    static bool IsInstalled();
    // True once the proxy accepts connections.
    bool IsRunning() const { return m_bRunning; }
    unsigned Port() const { return m_nPort; }

private:
    CTempDir m_dir;
    pid_t m_pid = -1;
    unsigned m_nPort = 0;
    bool m_bRunning = false;
};
