#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The head of an HTTP reply as the CDDB gateway reads it: only the protocol version
// and whether the body comes in chunks matter; the status code is not examined, since
// the body tells the CDDB result.
//
//   HTTP/1.1 200 OK
//   Date: Sun, 07 Jun 2026 10:42:07 GMT
//   Server: Apache
//   Transfer-Encoding: chunked
//   Content-Type: text/plain; charset=UTF-8
//
//   3a
//   210 rock 0a0b0c0d CD database entry follows (until terminating `.')
class CHttpReplyHead {
public:
    // The first line; false when it does not carry "HTTP/".
    bool ReadStatusLine(std::string_view line);
    // A header line; chunked transfer counts only in an HTTP/1.1 reply.
    void ReadHeaderLine(std::string_view line);

    bool IsHttp11() const { return m_bHttp11; }
    bool IsChunked() const { return m_bChunked; }

    // The hexadecimal size at the start of a chunk-size line (extensions after it are
    // ignored). False without a hex digit or past 15 digits.
    static bool ParseChunkSize(std::string_view line, uint64_t& nSize);

private:
    bool m_bHttp11 = false;
    bool m_bChunked = false;
};
