#pragma once

#include <cstddef>
#include <string>

class CAlbumInfo;

// Told by a FreeDB operation what the editor window shows: the albums listed and their
// state, the status text, the connection field and the busy state. Called on the
// operation's threads, several at once while track lists are fetched: an observer copies
// what it needs and hands it to its own thread (the desktop program posts it).
class IOperationObserver {
public:
    enum class EAlbumState {
        Normal,      // holds its track list
        NoTrackList, // listed, track list not fetched yet
        Fetching,    // a thread is fetching its track list
        Failed,      // fetching its track list failed
    };

    virtual ~IOperationObserver() = default;
    // The album list was emptied for a new listing (on the thread that started it).
    virtual void OnAlbumsCleared() = 0;
    // Album `nIndex` was listed, or changed state. `album` may be read during the call
    // only: no other thread changes it then.
    virtual void OnAlbumAdded(std::size_t nIndex, const CAlbumInfo& album) = 0;
    virtual void OnAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo& album) = 0;
    virtual void OnStatusText(const std::string& strText) = 0;
    // "Online" while connected, else "Offline".
    virtual void OnConnectionChanged(bool bOnline) = 0;
    // Busy: "Stop" available, "Select" and the search not.
    virtual void OnBusyChanged(bool bBusy) = 0;
    // The operation is over and the runner idle: the next one may be started from the
    // window's thread (which joins the ending thread, so this call must not wait for it).
    virtual void OnOperationEnded() = 0;
    // The proxy credentials, filled in; true when the user confirmed them.
    virtual bool AskProxyPassword(std::string& strUser, std::string& strPassword) = 0;
};
