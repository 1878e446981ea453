#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Takes the framing out of a chunked HTTP/1.1 body, so the line reader sees the body
// text alone and a chunk boundary inside a line does not split it. Fed raw bytes as they
// arrive; lives in the thread that reads the reply.
//
//   3a                      <- size of the first chunk, read with the reply head
//   210 rock 0a0b0c0d CD database entry follows (until terminating `.')
//                           <- line end after the chunk's bytes
//   0                       <- the last chunk: the body ends
class CChunkedDecoder {
public:
    // A chunk-size or chunk-end line longer than this is not HTTP.
    static constexpr std::size_t kMaxFramingLine = 4096;

    // A new body whose first chunk holds `nFirstChunkSize` bytes (its size line already
    // read); `strRawAhead` holds raw bytes read after that line.
    void Start(std::uint64_t nFirstChunkSize, std::string strRawAhead);
    void Append(const char* pRaw, std::size_t nLength);
    // Up to `nLength` body bytes into `pBuffer`: their count, 0 when more raw bytes are
    // needed or the body has ended, -1 when the framing is broken.
    long Decode(char* pBuffer, std::size_t nLength);
    bool IsEnd() const { return m_eState == EState::End; }

private:
    enum class EState { Data, DataEnd, Size, End, Broken };

    bool TakeLine(std::size_t& nUsed, std::string& strLine) const;

    EState m_eState = EState::Data;
    std::uint64_t m_nChunkLeft = 0;
    std::string m_strRaw; // raw bytes not yet decoded
};
