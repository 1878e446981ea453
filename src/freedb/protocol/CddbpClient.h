#pragma once

#include "freedb/protocol/CddbClient.h"

// The CDDB client on a direct connection: Open connects and goes through the welcome,
// the hello and the protocol level; the connection then serves every command until
// Close sends "quit". A connection dropped in the middle of a hostile reply is opened
// again, quietly, for the next command.
class CCddbpClient : public CCddbClient {
public:
    using CCddbClient::CCddbClient;

    bool ConnectServer(const std::string& strHost, const std::string& strPath,
                       const std::string& strPortText, unsigned nTimeout, bool bQuiet) override;
    bool SendCommand(const std::string& strCommand) override;
    // Sends "quit" and closes the connection in every case; true only for the reply 230.
    bool Close() override;

private:
    bool Reconnect();
    bool ReadWelcome();
    bool Handshake();
    bool NegotiateProto();

    // The server of the last successful connect; empty while not open.
    std::string m_strHost;
    std::string m_strPath;
    std::string m_strPortText;
    unsigned m_nTimeout = 0;
};
