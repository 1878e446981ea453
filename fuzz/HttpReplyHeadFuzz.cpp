// Arbitrary bytes as the head of an HTTP reply: status line, header lines up to the
// empty line, then a chunk-size line. Chunked transfer is only ever seen in HTTP/1.1,
// and a chunk size read is within 15 hex digits.
#include "freedb/protocol/HttpReplyHead.h"
#include "freedb/protocol/TextLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CTextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string line;
    CHttpReplyHead head;
    if (!lines.ReadLine(line) || !head.ReadStatusLine(line))
        return 0;
    while (lines.ReadLine(line) && !line.empty())
        head.ReadHeaderLine(line);
    if (head.IsChunked() && !head.IsHttp11())
        std::abort();
    uint64_t chunkSize = 0;
    if (lines.ReadLine(line) && CHttpReplyHead::ParseChunkSize(line, chunkSize) &&
        chunkSize >= (uint64_t{1} << 60))
        std::abort();
    return 0;
}
