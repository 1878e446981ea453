#include "freedb/protocol/CddbpClient.h"

bool CCddbpClient::ConnectServer(const std::string& strHost, const std::string& strPath,
                                 const std::string& strPortText, unsigned nTimeout, bool bQuiet) {
    if (!CCddbClient::ConnectServer(strHost, strPath, strPortText, nTimeout, bQuiet))
        return false;
    if (ReadWelcome() && Handshake() && NegotiateProto()) {
        m_strHost = strHost;
        m_strPath = strPath;
        m_strPortText = strPortText;
        m_nTimeout = nTimeout;
        return true;
    }
    CTcpSocket::Close();
    return false;
}

// The connect, welcome, hello and protocol level again, without log lines: they would
// fall into the middle of the step line of the command that needs the connection.
bool CCddbpClient::Reconnect() {
    const bool open =
        CCddbClient::ConnectServer(m_strHost, m_strPath, m_strPortText, m_nTimeout, true) &&
        ReadReply() && ReplyCode() < 400 && SendLine(MakeHello()) && ReadReply() &&
        ReplyCode() == 200 && SendLine(std::string("proto ") + kProtocolLevel) && ReadReply() &&
        (ReplyCode() == 200 || ReplyCode() == 201);
    if (!open)
        CTcpSocket::Close();
    return open;
}

// The welcome closes no progress line: "Opening connection" was closed on connecting.
bool CCddbpClient::ReadWelcome() {
    if (!ReadReply()) {
        Log("[ERR]Error %.03u: %s\r\n", 102u, "Waiting for welcome timeout");
        return false;
    }
    switch (ReplyCode()) {
    case 432:
        Log("[ERR]Error %.03u: %s\r\n", 103u, "Permission denied");
        return false;
    case 433:
        Log("[ERR]Error %.03u: %s\r\n", 104u, "No more users allowed");
        return false;
    case 434:
        Log("[ERR]Error %.03u: %s\r\n", 106u, "Remote server overloaded");
        return false;
    default:
        return true;
    }
}

bool CCddbpClient::Handshake() {
    Log("\tSending handshake ... ");
    m_strReplyLine = MakeHello();
    if (!SendCommand(m_strReplyLine))
        return Fail(110, "Sending query failed.");
    if (!ReadReply())
        return Fail(111, "Receiving timeout.");
    if (IsRefusal(ReplyCode()))
        return FailHelloRefused();
    if (ReplyCode() != 200)
        return Fail(112, "Invalid handshake answer!");
    Log("done.\r\n");
    return true;
}

bool CCddbpClient::NegotiateProto() {
    Log("\tProtocol level negotiations ... ");
    m_strReplyLine = std::string("proto ") + kProtocolLevel;
    if (!SendCommand(m_strReplyLine))
        return Fail(120, "Sending query failed.");
    if (!ReadReply())
        return Fail(121, "Receiving timeout.");
    const unsigned code = ReplyCode();
    if (code != 200 && code != 201)
        return Fail(122, "Protocol not supported!");
    Log("done.\r\n");
    // Completed as a line of its own, so it does not run into the next step's line.
    if (code == 200)
        Log("[INF]\tServer supports more modern protocol\r\n");
    return true;
}

bool CCddbpClient::SendCommand(const std::string& strCommand) {
    if (!IsOpen() && !m_strHost.empty() && !Reconnect())
        return false;
    return SendLine(strCommand);
}

bool CCddbpClient::Close() {
    // A dropped connection is not opened again only to say goodbye.
    const bool closed = IsOpen() && SendCommand("quit") && ReadReply() && ReplyCode() == 230;
    CTcpSocket::Close();
    m_strHost.clear();
    return closed;
}
