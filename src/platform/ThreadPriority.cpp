#include "platform/ThreadPriority.h"

#include <algorithm>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

int CThreadPriority::NiceValue(int nPriority) {
    return -5 * std::clamp(nPriority, -2, 2);
}

void CThreadPriority::ApplyToCurrentThread(int nPriority) {
    // On Linux a nice value set for a thread id applies to that thread alone.
    const auto threadId = static_cast<id_t>(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, threadId, NiceValue(nPriority));
}
