#include "freedb/service/AlbumTrack.h"

#include "freedb/service/AlbumInfo.h"

#include <cstdio>
#include <utility>

void CAlbumTrack::ReplaceOrAppend(std::string& field, std::string_view text, bool bAppend) {
    if (bAppend) {
        field.append(text);
        return;
    }
    if (!field.empty() && field != text)
        m_bChanged = 1;
    field.assign(text);
}

void CAlbumTrack::SetTitle(std::string_view text, bool bAppend) {
    ReplaceOrAppend(m_strTitle, text, bAppend);
}

void CAlbumTrack::SetTitle(const char* text, bool bAppend) {
    if (text == nullptr) {
        m_strTitle.clear();
        return;
    }
    SetTitle(std::string_view(text), bAppend);
}

void CAlbumTrack::SetArtist(std::string_view text) {
    if (!m_strArtist.empty() && m_strArtist != text)
        m_bChanged = 1;
    if (m_pAlbum != nullptr)
        m_pAlbum->m_bCompilation = 1;
    m_strArtist.assign(text);
}

void CAlbumTrack::SetArtist(const char* text) {
    if (text == nullptr) {
        m_strArtist.clear();
        return;
    }
    SetArtist(std::string_view(text));
}

void CAlbumTrack::SetExtra(std::string_view text, bool bAppend) {
    ReplaceOrAppend(m_strExtra, text, bAppend);
}

void CAlbumTrack::SetExtra(const char* text, bool bAppend) {
    if (text == nullptr)
        return;
    SetExtra(std::string_view(text), bAppend);
}

void CAlbumTrack::AssignSplit(std::string strArtist, std::string strTitle) {
    m_strArtist = std::move(strArtist);
    m_strTitle = std::move(strTitle);
    if (m_pAlbum != nullptr)
        m_pAlbum->m_bCompilation = 1;
}

std::int64_t CAlbumTrack::GetEndFrames() const {
    if (m_pAlbum == nullptr)
        return 0;
    const std::vector<CAlbumTrack>& tracks = m_pAlbum->m_tracks;
    if (static_cast<std::size_t>(m_nIndex) + 1 < tracks.size())
        return tracks[m_nIndex + 1].m_nFrameOffset;
    return m_pAlbum->GetLeadOut();
}

std::int64_t CAlbumTrack::GetLengthFrames() const {
    return GetEndFrames() - m_nFrameOffset;
}

std::int64_t CAlbumTrack::GetLengthSeconds() const {
    return GetLengthFrames() / 75;
}

const std::string& CAlbumTrack::GetLengthText() const {
    const std::int64_t length = GetLengthSeconds();
    // Offsets that run backwards are damage from outside; they show as no time at all.
    const std::uint64_t s = length > 0 ? static_cast<std::uint64_t>(length) : 0;
    const std::uint64_t h = s / 3600;
    const std::uint64_t m = (s - 3600 * h) / 60;
    const std::uint64_t r = s - 3600 * h - 60 * m;
    char buffer[64];
    if (h == 0)
        std::snprintf(buffer, sizeof buffer, "%02llu:%02llu", static_cast<unsigned long long>(m),
                      static_cast<unsigned long long>(r));
    else
        std::snprintf(buffer, sizeof buffer, "%02llu:%02llu:%02llu",
                      static_cast<unsigned long long>(h), static_cast<unsigned long long>(m),
                      static_cast<unsigned long long>(r));
    m_strLength = buffer;
    return m_strLength;
}
