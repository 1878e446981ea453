// Arbitrary bytes as a MusicBrainz disc lookup reply: read without crashing, at most
// kMaxReleases albums, each with the disc's three tracks and its offsets kept.
#include "freedb/protocol/MusicBrainzReply.h"
#include "freedb/service/AlbumInfo.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const CAlbumInfo disc = CAlbumInfo::FromPlayTimes({200, 200, 198});
    std::vector<CAlbumInfo> albums;
    CMusicBrainzReply::ParseReleases(std::string_view(reinterpret_cast<const char*>(data), size),
                                     disc, "IeldkVfIh1wep_M8CMuDvA0nQ7Q-", albums);
    if (albums.size() > CMusicBrainzReply::kMaxReleases)
        std::abort();
    for (const CAlbumInfo& album : albums) {
        if (album.GetTrackCount() != disc.GetTrackCount() ||
            album.GetTracks()[2].GetFrameOffset() != disc.GetTracks()[2].GetFrameOffset())
            std::abort();
    }
    return 0;
}
