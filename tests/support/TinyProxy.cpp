#include "support/TinyProxy.h"

#include "support/CddbTestServer.h"

#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr const char* kProgram = "/usr/bin/tinyproxy";

// A loopback port nobody listens on right now.
unsigned FreePort() {
    unsigned port = 0;
    close(ListenOnLoopback(port));
    return port;
}

bool Accepts(unsigned nPort) {
    const int hSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    const bool connected =
        connect(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(hSocket);
    return connected;
}
} // namespace

bool CTinyProxy::IsInstalled() {
    return access(kProgram, X_OK) == 0;
}

CTinyProxy::CTinyProxy(const std::string& strUser, const std::string& strPassword) {
    m_nPort = FreePort();
    const std::string config =
        m_dir.WriteFile("tinyproxy.conf", "Port " + std::to_string(m_nPort) +
                                              "\nListen 127.0.0.1\nTimeout 30\nMaxClients 10\n"
                                              "Allow 127.0.0.1\nLogLevel Error\nBasicAuth " +
                                              strUser + " " + strPassword + "\n");
    const std::string log = m_dir.File("tinyproxy.log");
    m_pid = fork();
    if (m_pid == 0) {
        freopen(log.c_str(), "w", stdout);
        freopen(log.c_str(), "w", stderr);
        execl(kProgram, kProgram, "-d", "-c", config.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 100 && m_pid > 0 && !m_bRunning; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_bRunning = Accepts(m_nPort);
    }
}

CTinyProxy::~CTinyProxy() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
}
