#pragma once

#include "freedb/service/AlbumTrack.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A CD album as the FreeDB part of the program knows it: what a query, a
// read or a web search gives, what the CD Player database caches and what is applied to
// the file list. Owns its tracks. Belongs to one thread at a time; albums handed
// between threads or windows are copied.
class CAlbumInfo {
public:
    // The eleven FreeDB categories, in the order they are offered and counted. The wire
    // uses the same words in lower case.
    static const std::array<const char*, 11> kCategories;

    CAlbumInfo() = default;
    // Copies and moves re-point every track at the new album.
    CAlbumInfo(const CAlbumInfo& other);
    CAlbumInfo& operator=(const CAlbumInfo& other);
    CAlbumInfo(CAlbumInfo&& other) noexcept;
    CAlbumInfo& operator=(CAlbumInfo&& other) noexcept;
    ~CAlbumInfo() = default;

    // A null text is ignored and answers false; otherwise the field is replaced, the
    // album counts as filled, and the answer is true.
    bool SetArtist(const char* text);
    bool SetArtist(std::string_view text);
    bool SetTitle(const char* text);
    bool SetTitle(std::string_view text);
    bool SetCategory(const char* text);
    bool SetCategory(std::string_view text);
    // A null text is ignored. Neither marks the album filled.
    void SetYear(const char* text);
    void SetYear(std::string_view text);
    void SetDiscId(const char* text);
    void SetDiscId(std::string_view text);

    // Empty while the album is not filled.
    const std::string& GetArtist() const;
    const std::string& GetTitle() const;
    const std::string& GetCategory() const;
    // Empty unless the album is filled and has at least one track.
    const std::string& GetYear() const;

    // The stored ID; when none is stored and the album has tracks, the ID computed from
    // the offsets, which is then stored (and not recomputed when offsets change).
    const std::string& GetDiscId();
    // The same answer without storing anything.
    std::string GetDiscId() const;
    // The FreeDB disc ID of the current offsets and disc length, eight lower-case hex
    // digits; empty without tracks.
    std::string ComputeDiscId() const;
    // The stored ID as it is, possibly empty.
    const std::string& GetStoredDiscId() const { return m_strDiscId; }

    // The disc length in whole seconds; the exact lead-out is then unknown.
    void SetDiscLength(std::uint32_t nSeconds) {
        m_nDiscLength = nSeconds;
        m_nLeadOut = 0;
    }
    std::uint32_t GetDiscLength() const { return m_nDiscLength; }
    // The lead-out position in CD frames, lead-in included; the disc length becomes
    // lead-out / 75, as the disc ID counts it.
    void SetLeadOut(std::int32_t nFrames);
    // The lead-out as set, or the disc length times 75 when only that is known.
    std::int64_t GetLeadOut() const;

    // Track i for reading and writing; empty tracks are appended until it exists, so
    // writers may fill tracks in any order. Readers loop up to GetTrackCount().
    CAlbumTrack& GetTrack(std::size_t i);
    // Track i, or null when i is at or beyond the count (never grows the album).
    const CAlbumTrack* FindTrack(std::size_t i) const;
    std::size_t GetTrackCount() const { return m_tracks.size(); }
    const std::vector<CAlbumTrack>& GetTracks() const { return m_tracks; }

    bool IsFilled() const { return m_bFilled != 0; }
    bool IsCompilation() const { return m_bCompilation != 0; }
    void SetCompilation(bool bCompilation) { m_bCompilation = bCompilation ? 1 : 0; }

    // The compilation split: " / " when every track title holds it, else " - " when
    // every title holds that, else none. With a delimiter every title is cut at its
    // first occurrence into the track's artist and title and the album becomes a
    // compilation. Answers the delimiter used, empty when no split was made.
    std::string_view ApplyCompilationSplit();
    // Sets artist and title from an xmcd DTITLE text: split at the first " / " when it
    // stands at position 1 or later, else both get the whole text (also when empty).
    void SetArtistAndTitleFromDTitle(std::string_view text);

    // The disc of a list of tracks lasting `frames` CD frames each: track i starts at
    // frame 150 + (the frames before it), the lead-out follows the last track. Positions
    // past the 32-bit range stop at its end.
    static CAlbumInfo FromTrackFrames(const std::vector<std::uint64_t>& frames);
    // The same for lengths in whole seconds.
    static CAlbumInfo FromPlayTimes(const std::vector<std::uint32_t>& seconds);
    // CD frames (75 a second) of `nSampleFrames` at `nSampleRate`, rounded to the nearest
    // frame: 588 sample frames a CD frame at 44.1 kHz. 0 without a rate.
    static std::uint64_t CdFramesOf(std::uint64_t nSampleFrames, std::uint32_t nSampleRate);

private:
    friend class CAlbumTrack;

    void RelinkTracks();

    std::int32_t m_bFilled = 0;
    std::int32_t m_bCompilation = 0;
    std::vector<CAlbumTrack> m_tracks;
    std::uint32_t m_nDiscLength = 0;
    std::int32_t m_nLeadOut = 0; // 0: known only as the disc length
    std::string m_strDiscId;
    std::string m_strArtist;
    std::string m_strTitle;
    std::string m_strCategory;
    std::string m_strYear;
};
