#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CAlbumInfo;

// The reading of a MusicBrainz disc lookup reply (JSON), apart from the sending. Both
// shapes of the reply carry "releases": the disc, when its ID is known
//
//   {"id": "IeldkVfIh1wep_M8CMuDvA0nQ7Q-", "offset-count": 9, "sectors": 189343,
//    "offsets": [150, 6614, ...], "releases": [ ... ]}
//
// and the fuzzy match by track lengths, when it is not
//
//   {"release-count": 2, "release-offset": 0, "releases": [ ... ]}
//
// A release, of which any field may be missing or null:
//
//   {"id": "f205627f-...", "title": "Aerial", "date": "2007-11-07",
//    "artist-credit": [{"name": "Kate Bush", "joinphrase": ""}],
//    "media": [{"position": 2, "title": "A Sky of Honey", "track-count": 9,
//               "discs": [{"id": "IeldkVfIh1wep_M8CMuDvA0nQ7Q-"}],
//               "tracks": [{"position": 1, "title": "Prelude", "length": 86000,
//                           "artist-credit": [{"name": "Kate Bush", "joinphrase": ""}],
//                           "recording": {"title": "Prelude", "length": 86000}}]}]}
class CMusicBrainzReply {
public:
    // A reply nested deeper than this is no MusicBrainz reply (and could exhaust the
    // stack of a parser).
    static constexpr std::size_t kMaxDepth = 32;
    // Releases taken from one reply; a disc rarely has more than a few dozen.
    static constexpr std::size_t kMaxReleases = 200;

    // Appends one album per release that has a medium matching `disc` (the album built
    // from the file list): the medium holding `strDiscId`, else the one with as many
    // tracks and the closest lengths. Each album is a copy of `disc` (offsets, lead-out,
    // FreeDB disc ID) with the artist credit, title (and medium, for a release of several
    // discs), year and track titles of its release. False when the text is not a JSON
    // object, or too deeply nested.
    static bool ParseReleases(std::string_view json, const CAlbumInfo& disc,
                              const std::string& strDiscId, std::vector<CAlbumInfo>& albums);

    // Whether the brackets of `json` nest deeper than `nMax`, strings skipped.
    static bool NestsDeeperThan(std::string_view json, std::size_t nMax);
};
