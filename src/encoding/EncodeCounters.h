#pragma once

#include <atomic>
#include <cstdint>

// Counters of the track one encode worker is working on: written by that worker, read
// by the window thread at any time (every field is atomic). `m_nTrack` is the track's
// position in the list while the worker encodes it and -1 between tracks.
struct SEncodeCounters {
    std::atomic<std::uint32_t> m_nBytesRead{0};
    std::atomic<std::uint32_t> m_nCurrentFrame{0};
    std::atomic<std::uint32_t> m_nTotalFrames{0};
    std::atomic<std::uint32_t> m_nFrameSize{0};
    std::atomic<std::uint32_t> m_nOutputRate{0};
    std::atomic<std::uint32_t> m_nFileSize{0};
    std::atomic<int> m_nTrack{-1};
};
