#pragma once

#include "freedb/service/AlbumInfo.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

// The ordered list of albums that FreeDB operations share. An entry either
// owns its album (AddCopy, Add of a unique_ptr: the list of found albums) or only
// refers to an album owned elsewhere (Add of a reference: the retrieval queue, whose
// albums live in the found list). PopFront and MoveToFront may run on several threads
// at once; the other operations take the same lock, but a reference from GetAt is only
// safe while no other thread removes that album.
class CAlbumList {
public:
    // Deletes the album only when the entry owned it.
    struct SMaybeDelete {
        bool m_bOwned = false;
        void operator()(CAlbumInfo* pAlbum) const {
            if (m_bOwned)
                delete pAlbum;
        }
    };
    // An entry: the album and whether it is owned. Empty when a pop finds no album.
    using AlbumPtr = std::unique_ptr<CAlbumInfo, SMaybeDelete>;

    CAlbumList() = default;
    CAlbumList(const CAlbumList&) = delete;
    CAlbumList& operator=(const CAlbumList&) = delete;
    ~CAlbumList() = default;

    // Appends an owned copy of the album; returns its index.
    std::size_t AddCopy(const CAlbumInfo& album);
    // Appends an album the list takes over; returns its index.
    std::size_t Add(std::unique_ptr<CAlbumInfo> pAlbum);
    // Appends a reference to an album owned elsewhere, which must outlive the entry;
    // returns its index.
    std::size_t Add(CAlbumInfo& album);

    // Album i; out of range, an empty album of this list (emptied again on every such
    // call), so callers never read out of bounds.
    CAlbumInfo& GetAt(std::size_t i);
    // Album i; out of range, a shared empty album that cannot be changed.
    const CAlbumInfo& GetAt(std::size_t i) const;
    std::size_t GetCount() const;
    // Removes entry i, destroying the album when the list owned it. Out of range: nothing.
    void RemoveAt(std::size_t i);
    // Removes every entry, destroying the owned albums.
    void Clear();

    // Takes the first entry off the list under the lock; empty when the list is empty.
    // An owned album stays owned by the returned entry, a referenced one is not deleted.
    AlbumPtr PopFront();
    // Under the lock: when the album is in the list, its entry moves to the front.
    // Answers whether it was found.
    bool MoveToFront(const CAlbumInfo& album);

private:
    mutable std::mutex m_mutex;
    std::vector<AlbumPtr> m_albums;
    CAlbumInfo m_emptyAlbum;
};
