#pragma once

#include <string>

// What an album source needs from whoever runs it: somewhere to put log lines, the stop
// request of the running operation, and a way to ask the user for proxy credentials.
// Called on the thread of the operation.
class IAlbumSourceOwner {
public:
    virtual ~IAlbumSourceOwner() = default;
    // One completed log line without its line end, level prefix ("[INF]", "[ERR]",
    // "[DBG]" or none) kept.
    virtual void LogLine(const std::string& strLine) = 0;
    // The stop request; read between the 100 ms polls of a wait, so it must be cheap and
    // safe to read from any thread.
    virtual bool IsStopRequested() const = 0;
    // Shows the proxy credentials filled in; true when the user confirmed them.
    virtual bool AskProxyPassword(std::string& strUser, std::string& strPassword) = 0;
};
