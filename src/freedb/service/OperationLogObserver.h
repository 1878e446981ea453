#pragma once

#include <string>

// Told of every line added to an operation log, in the order the lines were added. Called
// on the thread that added the line, with the log's delivery lock held: an observer hands
// the line on (the desktop program posts it to its window) and does not add lines itself.
class IOperationLogObserver {
public:
    virtual ~IOperationLogObserver() = default;
    // `nLevel`: 0 step or message, 1 result, 2 error, 3 protocol trace; `strLine` is the
    // stamped text without its level prefix.
    virtual void OnLogLine(int nLevel, const std::string& strLine) = 0;
};
