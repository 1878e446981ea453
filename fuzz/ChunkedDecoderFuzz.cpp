// Arbitrary bytes as a chunked HTTP body after its first size line, fed in pieces of
// varying size and decoded into buffers of varying size: the decoder never hands out
// more bytes than it was given or than the buffer holds, and nothing after the last
// chunk or broken framing.
#include "freedb/protocol/ChunkedDecoder.h"
#include "freedb/protocol/HttpReplyHead.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = input.find('\n');
    std::uint64_t firstChunk = 0;
    if (lineEnd == std::string_view::npos ||
        !CHttpReplyHead::ParseChunkSize(input.substr(0, lineEnd), firstChunk))
        return 0;
    CChunkedDecoder decoder;
    decoder.Start(firstChunk, {});
    size_t given = 0;
    size_t produced = 0;
    bool over = false;
    char buffer[97];
    for (size_t pos = lineEnd + 1, step = 1; pos <= input.size(); step = step % 13 + 1) {
        const size_t piece = std::min(step * 5, input.size() - pos);
        decoder.Append(input.data() + pos, piece);
        given += piece;
        pos += piece;
        for (long decoded; (decoded = decoder.Decode(buffer, step * 7 % sizeof buffer + 1)) != 0;) {
            if (decoded < 0) {
                over = true;
                break;
            }
            if (over || static_cast<size_t>(decoded) > step * 7 % sizeof buffer + 1)
                std::abort();
            produced += static_cast<size_t>(decoded);
        }
        if (produced > given || (decoder.IsEnd() && decoder.Decode(buffer, sizeof buffer) != 0))
            std::abort();
        if (piece == 0)
            break;
    }
    return 0;
}
