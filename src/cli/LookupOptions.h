#pragma once

#include <optional>

class CArgParser;

// The options of `lookup` and of `encode --freedb`: which album found to apply, and how
// many connections may fetch track lists at once.
class CLookupOptions {
public:
    void Register(CArgParser& parser);

    // 1-based, as `lookup` numbers the albums it prints.
    const std::optional<unsigned>& SelectedAlbum() const { return m_nSelect; }
    const std::optional<unsigned>& FreedbAlbum() const { return m_nFreedb; }
    // Overrides "MaxThreadsCount" for the run.
    const std::optional<unsigned>& Threads() const { return m_nThreads; }

    static const char* UsageText();

private:
    std::optional<unsigned> m_nSelect;
    std::optional<unsigned> m_nFreedb;
    std::optional<unsigned> m_nThreads;
};
