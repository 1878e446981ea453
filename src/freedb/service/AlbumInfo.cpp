#include "freedb/service/AlbumInfo.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

namespace {
const std::string kEmpty;

// Sum of the decimal digits; 0 for zero and for negative numbers (offsets before the
// start of the disc are damage and add nothing).
std::uint32_t DigitSum(std::int64_t n) {
    std::uint32_t sum = 0;
    while (n > 0) {
        sum += static_cast<std::uint32_t>(n % 10);
        n /= 10;
    }
    return sum;
}

bool AllTitlesHold(const std::vector<CAlbumTrack>& tracks, std::string_view delimiter) {
    for (const CAlbumTrack& track : tracks) {
        if (track.GetTitle().find(delimiter) == std::string::npos)
            return false;
    }
    return true;
}
} // namespace

const std::array<const char*, 11> CAlbumInfo::kCategories = {
    "Blues",  "Classical", "Country", "Folk",       "Jazz", "Misc",
    "Newage", "Reggae",    "Rock",    "Soundtrack", "Data"};

CAlbumInfo::CAlbumInfo(const CAlbumInfo& other)
    : m_bFilled(other.m_bFilled), m_bCompilation(other.m_bCompilation), m_tracks(other.m_tracks),
      m_nDiscLength(other.m_nDiscLength), m_nLeadOut(other.m_nLeadOut),
      m_strDiscId(other.m_strDiscId), m_strArtist(other.m_strArtist), m_strTitle(other.m_strTitle),
      m_strCategory(other.m_strCategory), m_strYear(other.m_strYear) {
    RelinkTracks();
}

CAlbumInfo& CAlbumInfo::operator=(const CAlbumInfo& other) {
    if (this == &other)
        return *this;
    m_bFilled = other.m_bFilled;
    m_bCompilation = other.m_bCompilation;
    m_tracks = other.m_tracks;
    m_nDiscLength = other.m_nDiscLength;
    m_nLeadOut = other.m_nLeadOut;
    m_strDiscId = other.m_strDiscId;
    m_strArtist = other.m_strArtist;
    m_strTitle = other.m_strTitle;
    m_strCategory = other.m_strCategory;
    m_strYear = other.m_strYear;
    RelinkTracks();
    return *this;
}

CAlbumInfo::CAlbumInfo(CAlbumInfo&& other) noexcept
    : m_bFilled(other.m_bFilled), m_bCompilation(other.m_bCompilation),
      m_tracks(std::move(other.m_tracks)), m_nDiscLength(other.m_nDiscLength),
      m_nLeadOut(other.m_nLeadOut), m_strDiscId(std::move(other.m_strDiscId)),
      m_strArtist(std::move(other.m_strArtist)), m_strTitle(std::move(other.m_strTitle)),
      m_strCategory(std::move(other.m_strCategory)), m_strYear(std::move(other.m_strYear)) {
    RelinkTracks();
    other.m_tracks.clear();
}

CAlbumInfo& CAlbumInfo::operator=(CAlbumInfo&& other) noexcept {
    if (this == &other)
        return *this;
    m_bFilled = other.m_bFilled;
    m_bCompilation = other.m_bCompilation;
    m_tracks = std::move(other.m_tracks);
    m_nDiscLength = other.m_nDiscLength;
    m_nLeadOut = other.m_nLeadOut;
    m_strDiscId = std::move(other.m_strDiscId);
    m_strArtist = std::move(other.m_strArtist);
    m_strTitle = std::move(other.m_strTitle);
    m_strCategory = std::move(other.m_strCategory);
    m_strYear = std::move(other.m_strYear);
    RelinkTracks();
    other.m_tracks.clear();
    return *this;
}

void CAlbumInfo::RelinkTracks() {
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        m_tracks[i].m_pAlbum = this;
        m_tracks[i].m_nIndex = static_cast<std::uint32_t>(i);
    }
}

bool CAlbumInfo::SetArtist(std::string_view text) {
    m_strArtist.assign(text);
    m_bFilled = 1;
    return true;
}

bool CAlbumInfo::SetArtist(const char* text) {
    return text != nullptr && SetArtist(std::string_view(text));
}

bool CAlbumInfo::SetTitle(std::string_view text) {
    m_strTitle.assign(text);
    m_bFilled = 1;
    return true;
}

bool CAlbumInfo::SetTitle(const char* text) {
    return text != nullptr && SetTitle(std::string_view(text));
}

bool CAlbumInfo::SetCategory(std::string_view text) {
    m_strCategory.assign(text);
    m_bFilled = 1;
    return true;
}

bool CAlbumInfo::SetCategory(const char* text) {
    return text != nullptr && SetCategory(std::string_view(text));
}

void CAlbumInfo::SetYear(std::string_view text) {
    m_strYear.assign(text);
}

void CAlbumInfo::SetYear(const char* text) {
    if (text != nullptr)
        SetYear(std::string_view(text));
}

void CAlbumInfo::SetDiscId(std::string_view text) {
    m_strDiscId.assign(text);
}

void CAlbumInfo::SetDiscId(const char* text) {
    if (text != nullptr)
        SetDiscId(std::string_view(text));
}

const std::string& CAlbumInfo::GetArtist() const {
    return m_bFilled ? m_strArtist : kEmpty;
}

const std::string& CAlbumInfo::GetTitle() const {
    return m_bFilled ? m_strTitle : kEmpty;
}

const std::string& CAlbumInfo::GetCategory() const {
    return m_bFilled ? m_strCategory : kEmpty;
}

const std::string& CAlbumInfo::GetYear() const {
    return m_bFilled && !m_tracks.empty() ? m_strYear : kEmpty;
}

const std::string& CAlbumInfo::GetDiscId() {
    if (m_strDiscId.empty() && !m_tracks.empty())
        m_strDiscId = ComputeDiscId();
    return m_strDiscId;
}

std::string CAlbumInfo::GetDiscId() const {
    if (!m_strDiscId.empty())
        return m_strDiscId;
    return ComputeDiscId();
}

// The FreeDB rule: n sums the digits of every track's start in seconds, t the track
// lengths in seconds (it telescopes to disc length minus first start);
// ID = (n mod 255) << 24 | t << 8 | track count.
std::string CAlbumInfo::ComputeDiscId() const {
    if (m_tracks.empty())
        return {};
    std::uint32_t n = 0;
    std::uint32_t t = 0;
    for (const CAlbumTrack& track : m_tracks) {
        const std::int64_t a = track.m_nFrameOffset / 75;
        n += DigitSum(a);
        t += static_cast<std::uint32_t>(track.GetEndFrames() / 75 - a);
    }
    const std::uint32_t id =
        ((n % 255) << 24) | (t << 8) | static_cast<std::uint32_t>(m_tracks.size());
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", id);
    return buffer;
}

CAlbumTrack& CAlbumInfo::GetTrack(std::size_t i) {
    // Tracks usually arrive one index at a time: the vector grows geometrically.
    while (m_tracks.size() <= i)
        m_tracks.emplace_back(this, static_cast<std::uint32_t>(m_tracks.size()));
    return m_tracks[i];
}

const CAlbumTrack* CAlbumInfo::FindTrack(std::size_t i) const {
    return i < m_tracks.size() ? &m_tracks[i] : nullptr;
}

std::string_view CAlbumInfo::ApplyCompilationSplit() {
    if (m_tracks.empty())
        return {};
    std::string_view delimiter;
    if (AllTitlesHold(m_tracks, " / "))
        delimiter = " / ";
    else if (AllTitlesHold(m_tracks, " - "))
        delimiter = " - ";
    else
        return {};
    for (CAlbumTrack& track : m_tracks) {
        const std::string& title = track.GetTitle();
        const std::size_t p = title.find(delimiter);
        if (title.empty() || p == std::string::npos)
            continue;
        track.AssignSplit(title.substr(0, p), title.substr(p + delimiter.size()));
    }
    return delimiter;
}

void CAlbumInfo::SetArtistAndTitleFromDTitle(std::string_view text) {
    const std::size_t p = text.find(" / ");
    if (p == std::string_view::npos || p == 0) {
        SetArtist(text);
        SetTitle(text);
        return;
    }
    SetArtist(text.substr(0, p));
    SetTitle(text.substr(p + 3));
}

void CAlbumInfo::SetLeadOut(std::int32_t nFrames) {
    m_nDiscLength = static_cast<std::uint32_t>(std::max(nFrames, 0) / 75);
    m_nLeadOut = nFrames;
}

std::int64_t CAlbumInfo::GetLeadOut() const {
    return m_nLeadOut != 0 ? m_nLeadOut : std::int64_t{m_nDiscLength} * 75;
}

CAlbumInfo CAlbumInfo::FromTrackFrames(const std::vector<std::uint64_t>& frames) {
    // 64 bits, so that no number of long tracks wraps; a position is then held at the
    // end of the 32-bit range rather than turning negative.
    constexpr std::uint64_t kMaxPosition = INT32_MAX;
    CAlbumInfo album;
    std::uint64_t position = 150;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        album.GetTrack(i).SetFrameOffset(static_cast<std::int32_t>(position));
        position = std::min(position + std::min(frames[i], kMaxPosition), kMaxPosition);
    }
    album.SetLeadOut(static_cast<std::int32_t>(position));
    return album;
}

CAlbumInfo CAlbumInfo::FromPlayTimes(const std::vector<std::uint32_t>& seconds) {
    std::vector<std::uint64_t> frames;
    for (const std::uint32_t length : seconds)
        frames.push_back(std::uint64_t{length} * 75);
    return FromTrackFrames(frames);
}

std::uint64_t CAlbumInfo::CdFramesOf(std::uint64_t nSampleFrames, std::uint32_t nSampleRate) {
    if (nSampleRate == 0)
        return 0;
    // Sample frames below 2^32 times 150 stay far inside 64 bits.
    return (nSampleFrames * 150 + nSampleRate) / (std::uint64_t{nSampleRate} * 2);
}
