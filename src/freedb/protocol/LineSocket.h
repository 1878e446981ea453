#pragma once

#include "freedb/protocol/TcpSocket.h"

#include <string>

// Line-oriented sending and receiving over a TCP socket, as the CDDB protocol talks:
// lines go out ended by one line feed, and come in ended by a line feed with every
// carriage return dropped and surrounding white space trimmed.
class CLineSocket : public CTcpSocket {
public:
    // A line longer than this is never delivered: the read fails and the connection is
    // dropped, so an endless line cannot exhaust memory.
    static constexpr size_t kMaxLineLength = 1u << 20;
    // A reply read as a list (matches, sites, record lines, header lines) ends here as if
    // the read had failed, so an endless list cannot exhaust memory either.
    static constexpr size_t kMaxListLines = 100000;
    // The bytes of all lines received since the last line sent (one reply): past this
    // the read fails and the connection is dropped, so many long lines cannot exhaust
    // memory either.
    static constexpr size_t kMaxReplyBytes = 4u << 20;

    // Sends the text and one line feed; traces it when sent.
    bool SendLine(const std::string& strText);

    // One received line. Fails when the time-out passes with nothing arriving (idle time
    // only, counted in 100 ms polls), when IsBreak answers true, when the peer closes
    // before the line feed, on a socket error, and past the line or reply cap.
    bool ReadLine(std::string& strLine);
    // Closes the connection in the middle of a reply whose rest will not be read, so
    // that no later command takes it for its own reply. Unlike Shutdown it lasts only
    // until the next Create.
    void DropConnection();

protected:
    // Told of every line sent (+1) and received (-1).
    virtual void Trace(int /*nDirection*/, const std::string& /*strText*/) {}
    // The byte source of ReadLine: as ReceiveWaiting. The HTTP transport decodes chunked
    // bodies here.
    virtual long ReceiveSome(char* pBuffer, size_t nLength);
    // Hands over the bytes read ahead of the lines delivered so far.
    std::string TakeReadAhead();
    void OnNewSocket() override;

private:
    bool TakeLine(std::string& strLine);
    long FillBuffer();
    bool FailRead();

    std::string m_strBuffer; // received bytes; m_nStart is the first not yet delivered
    size_t m_nStart = 0;
    size_t m_nScanned = 0;    // bytes from m_nStart known to hold no line feed
    size_t m_nReplyBytes = 0; // bytes of the lines delivered since the last line sent
};
