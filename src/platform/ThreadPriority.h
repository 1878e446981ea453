#pragma once

// Thread priorities from -2 (low) to 2 (highest), as nice values of one thread.
class CThreadPriority {
public:
    // Applies `nPriority` to the calling thread: nice +10, +5, 0, -5, -10. A raise the
    // system refuses is skipped: the thread keeps its priority.
    static void ApplyToCurrentThread(int nPriority);
    static int NiceValue(int nPriority);
};
