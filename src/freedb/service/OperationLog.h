#pragma once

#include <cstddef>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class IOperationLogObserver;

// The operation log of a FreeDB window without the window: time-stamped lines with their
// level, cleared and saved on command. Lines may be added from any thread; each line is
// stored and handed to the observer whole, in one order for everyone.
class COperationLog {
public:
    enum ELevel { kStep = 0, kInfo = 1, kError = 2, kDebug = 3 };

    struct SLine {
        int m_nLevel = kStep;
        std::string m_strText; // stamped, without the level prefix
    };

    // The observer, if any, must outlive the log.
    explicit COperationLog(IOperationLogObserver* pObserver = nullptr);

    // Adds a line stamped with the local time now. The level comes from the prefixes
    // "[INF]", then "[ERR]", then "[DBG]" at the start of the text, each removed.
    void Log(std::string_view text);
    // The same with a given local time.
    void Log(std::string_view text, const std::tm& time);

    // The level of `text` and the text after its recognised prefixes.
    static int ParseLevel(std::string_view& text);

    std::vector<SLine> GetLines() const;
    std::size_t GetLineCount() const;
    void Clear();
    // Writes every line followed by CR LF, replacing the file; an empty log gives an
    // empty file. False when the file cannot be created or written.
    bool SaveToFile(const std::string& strPath) const;

private:
    IOperationLogObserver* m_pObserver;
    // Held while a line is stored and handed over, so the observer sees the list order.
    std::mutex m_deliveryMutex;
    // Guards the list alone, so that an observer may read it.
    mutable std::mutex m_linesMutex;
    std::vector<SLine> m_lines;
};
