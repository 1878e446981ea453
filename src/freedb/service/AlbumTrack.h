#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CAlbumInfo;

// One track of an album. Held by value in its album's vector; the album
// keeps `m_pAlbum` and `m_nIndex` right whenever it copies, moves or grows the vector.
// A track belongs to whichever thread owns its album.
class CAlbumTrack {
public:
    CAlbumTrack() = default;
    CAlbumTrack(CAlbumInfo* pAlbum, std::uint32_t nIndex) : m_pAlbum(pAlbum), m_nIndex(nIndex) {}
    virtual ~CAlbumTrack() = default;
    CAlbumTrack(const CAlbumTrack&) = default;
    CAlbumTrack& operator=(const CAlbumTrack&) = default;
    CAlbumTrack(CAlbumTrack&&) = default;
    CAlbumTrack& operator=(CAlbumTrack&&) = default;

    // Without `bAppend` the title is replaced, and `m_bChanged` is set when a non-empty
    // title gives way to a different text. With `bAppend` the text is added to the end
    // (one xmcd key spread over several lines). A null text empties the title.
    void SetTitle(std::string_view text, bool bAppend = false);
    void SetTitle(const char* text, bool bAppend = false);
    // A null text empties the artist and does nothing else. Otherwise the artist is
    // replaced, `m_bChanged` set when a non-empty artist differs, and the album becomes
    // a compilation.
    void SetArtist(std::string_view text);
    void SetArtist(const char* text);
    // As SetTitle, except that a null text changes nothing.
    void SetExtra(std::string_view text, bool bAppend = false);
    void SetExtra(const char* text, bool bAppend = false);

    const std::string& GetTitle() const { return m_strTitle; }
    const std::string& GetArtist() const { return m_strArtist; }
    const std::string& GetExtra() const { return m_strExtra; }

    void SetFrameOffset(std::int32_t nFrames) { m_nFrameOffset = nFrames; }
    std::int32_t GetFrameOffset() const { return m_nFrameOffset; }

    // End minus start in CD frames: the end is the next track's offset, or for the last
    // track the album's lead-out; 0 for a track without an album. Negative when the
    // offsets run backwards.
    std::int64_t GetLengthFrames() const;
    // GetLengthFrames() / 75, truncated.
    std::int64_t GetLengthSeconds() const;
    // "mm:ss", or "hh:mm:ss" from one hour on; stored in the length cache and returned.
    // A negative length shows as 00:00.
    const std::string& GetLengthText() const;
    // The text of the last GetLengthText().
    const std::string& GetCachedLengthText() const { return m_strLength; }

    bool IsChanged() const { return m_bChanged != 0; }
    void SetChanged(bool bChanged) { m_bChanged = bChanged ? 1 : 0; }
    CAlbumInfo* GetAlbum() const { return m_pAlbum; }
    std::uint32_t GetIndex() const { return m_nIndex; }

    // The compilation split writes the parts without counting them as edits.
    void AssignSplit(std::string strArtist, std::string strTitle);

    // The end of this track in frames, as the length and the disc ID use it.
    std::int64_t GetEndFrames() const;

private:
    friend class CAlbumInfo;

    // Shared rule of SetTitle and SetExtra.
    void ReplaceOrAppend(std::string& field, std::string_view text, bool bAppend);

    std::string m_strTitle;
    std::string m_strArtist;
    std::string m_strExtra;
    mutable std::string m_strLength;
    std::int32_t m_nFrameOffset = -1;
    std::int32_t m_bChanged = 0;
    CAlbumInfo* m_pAlbum = nullptr;
    std::uint32_t m_nIndex = 0;
};
