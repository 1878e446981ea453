// Arbitrary bytes as an xmcd record: reading never fails hard, the album stays whole
// (every track knows its album and position), nothing grows past the reader's bounds,
// and every derived text (disc ID, lengths) can be formed.
#include "freedb/protocol/XmcdParser.h"
#include "freedb/service/AlbumInfo.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CAlbumInfo album;
    size_t logLines = 0;
    CXmcdParser::ParseXmcdText(text, album, [&](std::string_view line) {
        ++logLines;
        if (!line.ends_with("\r\n"))
            std::abort();
    });
    if (logLines > 1 || album.GetTrackCount() > CXmcdParser::kMaxTracks)
        std::abort();
    for (size_t i = 0; i < album.GetTrackCount(); ++i) {
        const CAlbumTrack& track = album.GetTracks()[i];
        if (track.GetAlbum() != &album || track.GetIndex() != i)
            std::abort();
        if (track.GetTitle().size() > CXmcdParser::kMaxFieldBytes ||
            track.GetExtra().size() > CXmcdParser::kMaxFieldBytes)
            std::abort();
        (void)track.GetLengthText();
    }
    const std::string id = album.ComputeDiscId();
    if (album.GetTrackCount() > 0 && id.size() != 8)
        std::abort();

    const CAlbumInfo copy(album);
    if (copy.GetTrackCount() > 0 && copy.GetTracks()[0].GetAlbum() != &copy)
        std::abort();
    return 0;
}
