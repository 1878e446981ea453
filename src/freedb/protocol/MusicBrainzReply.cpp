#include "freedb/protocol/MusicBrainzReply.h"

#include "freedb/service/AlbumInfo.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>

using json = nlohmann::json;

namespace {
// A track without a length counts as this far off, so a medium with lengths wins.
constexpr std::int64_t kMissingLengthMs = 600000;

std::string Text(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

const json* Array(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_array() ? &*found : nullptr;
}

// The names of an artist credit joined, each followed by its join phrase.
std::string ArtistCredit(const json& object) {
    std::string credit;
    if (const json* parts = Array(object, "artist-credit")) {
        for (const json& part : *parts) {
            if (part.is_object())
                credit += Text(part, "name") + Text(part, "joinphrase");
        }
    }
    return credit;
}

std::int64_t LengthMs(const json& track) {
    for (const json* holder :
         {&track, track.contains("recording") ? &track["recording"] : nullptr}) {
        if (holder == nullptr || !holder->is_object())
            continue;
        const auto length = holder->find("length");
        if (length != holder->end() && length->is_number_unsigned())
            return static_cast<std::int64_t>(
                std::min<std::uint64_t>(length->get<std::uint64_t>(), 1u << 31));
    }
    return -1;
}

std::string TrackTitle(const json& track) {
    const std::string title = Text(track, "title");
    if (!title.empty() || !track.contains("recording") || !track["recording"].is_object())
        return title;
    return Text(track["recording"], "title");
}

bool HoldsDisc(const json& medium, const std::string& strDiscId) {
    if (const json* discs = Array(medium, "discs")) {
        for (const json& disc : *discs) {
            if (disc.is_object() && Text(disc, "id") == strDiscId)
                return true;
        }
    }
    return false;
}

// How far the medium's track lengths are from the disc's; none for another track count.
std::int64_t Distance(const json& medium, const CAlbumInfo& disc) {
    const json* tracks = Array(medium, "tracks");
    if (tracks == nullptr || tracks->size() != disc.GetTrackCount())
        return -1;
    std::int64_t distance = 0;
    for (std::size_t i = 0; i < tracks->size(); ++i) {
        const std::int64_t theirs = (*tracks)[i].is_object() ? LengthMs((*tracks)[i]) : -1;
        const std::int64_t ours = disc.GetTracks()[i].GetLengthFrames() * 1000 / 75;
        distance += theirs < 0 ? kMissingLengthMs : std::abs(theirs - ours);
    }
    return distance;
}

const json* MatchingMedium(const json& release, const CAlbumInfo& disc,
                           const std::string& strDiscId) {
    const json* media = Array(release, "media");
    if (media == nullptr)
        return nullptr;
    const json* closest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const json& medium : *media) {
        if (!medium.is_object())
            continue;
        if (HoldsDisc(medium, strDiscId) && Distance(medium, disc) >= 0)
            return &medium;
        const std::int64_t distance = Distance(medium, disc);
        if (distance >= 0 && distance < best) {
            best = distance;
            closest = &medium;
        }
    }
    return closest;
}

std::string AlbumTitle(const json& release, const json& medium) {
    std::string title = Text(release, "title");
    const json* media = Array(release, "media");
    if (media == nullptr || media->size() < 2)
        return title;
    const auto position = medium.find("position");
    title += " (disc ";
    title += position != medium.end() && position->is_number_unsigned()
                 ? std::to_string(position->get<std::uint64_t>())
                 : std::string("?");
    const std::string mediumTitle = Text(medium, "title");
    return title + (mediumTitle.empty() ? "" : ": " + mediumTitle) + ")";
}

CAlbumInfo MakeAlbum(const json& release, const json& medium, const CAlbumInfo& disc) {
    CAlbumInfo album(disc);
    const std::string artist = ArtistCredit(release);
    album.SetArtist(artist);
    album.SetTitle(AlbumTitle(release, medium));
    album.SetCategory("musicbrainz");
    const std::string date = Text(release, "date");
    album.SetYear(date.size() >= 4 ? date.substr(0, 4) : std::string());
    const json& tracks = medium["tracks"];
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (!tracks[i].is_object())
            continue;
        CAlbumTrack& track = album.GetTrack(i);
        track.SetTitle(TrackTitle(tracks[i]));
        // A track by someone else than the release's artist makes a compilation.
        const std::string trackArtist = ArtistCredit(tracks[i]);
        if (!trackArtist.empty() && trackArtist != artist)
            track.SetArtist(trackArtist);
    }
    return album;
}
} // namespace

bool CMusicBrainzReply::NestsDeeperThan(std::string_view json, std::size_t nMax) {
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > nMax)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

bool CMusicBrainzReply::ParseReleases(std::string_view text, const CAlbumInfo& disc,
                                      const std::string& strDiscId,
                                      std::vector<CAlbumInfo>& albums) {
    if (NestsDeeperThan(text, kMaxDepth))
        return false;
    const json reply = json::parse(text, nullptr, false);
    if (reply.is_discarded() || !reply.is_object())
        return false;
    const json* releases = Array(reply, "releases");
    if (releases == nullptr)
        return true;
    std::size_t taken = 0;
    for (const json& release : *releases) {
        if (taken == kMaxReleases)
            break;
        if (!release.is_object())
            continue;
        if (const json* medium = MatchingMedium(release, disc, strDiscId)) {
            albums.push_back(MakeAlbum(release, *medium, disc));
            ++taken;
        }
    }
    return true;
}
