#include "freedb/service/AlbumList.h"

#include <algorithm>
#include <utility>

std::size_t CAlbumList::AddCopy(const CAlbumInfo& album) {
    return Add(std::make_unique<CAlbumInfo>(album));
}

std::size_t CAlbumList::Add(std::unique_ptr<CAlbumInfo> pAlbum) {
    AlbumPtr entry(pAlbum.release(), SMaybeDelete{true});
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_albums.push_back(std::move(entry));
    return m_albums.size() - 1;
}

std::size_t CAlbumList::Add(CAlbumInfo& album) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_albums.push_back(AlbumPtr(&album, SMaybeDelete{false}));
    return m_albums.size() - 1;
}

CAlbumInfo& CAlbumList::GetAt(std::size_t i) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (i < m_albums.size())
        return *m_albums[i];
    m_emptyAlbum = CAlbumInfo();
    return m_emptyAlbum;
}

const CAlbumInfo& CAlbumList::GetAt(std::size_t i) const {
    static const CAlbumInfo kEmptyAlbum;
    const std::lock_guard<std::mutex> lock(m_mutex);
    return i < m_albums.size() ? *m_albums[i] : kEmptyAlbum;
}

std::size_t CAlbumList::GetCount() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_albums.size();
}

void CAlbumList::RemoveAt(std::size_t i) {
    AlbumPtr removed;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (i >= m_albums.size())
            return;
        removed = std::move(m_albums[i]);
        m_albums.erase(m_albums.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // `removed` destroys an owned album here, outside the lock.
}

void CAlbumList::Clear() {
    std::vector<AlbumPtr> removed;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        removed.swap(m_albums);
    }
}

CAlbumList::AlbumPtr CAlbumList::PopFront() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_albums.empty())
        return AlbumPtr(nullptr, SMaybeDelete{false});
    AlbumPtr front = std::move(m_albums.front());
    m_albums.erase(m_albums.begin());
    return front;
}

bool CAlbumList::MoveToFront(const CAlbumInfo& album) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = std::find_if(m_albums.begin(), m_albums.end(),
                                    [&](const AlbumPtr& entry) { return entry.get() == &album; });
    if (found == m_albums.end())
        return false;
    std::rotate(m_albums.begin(), found, found + 1);
    return true;
}
