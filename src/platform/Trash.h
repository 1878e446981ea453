#pragma once

#include <string>

// The desktop's trash (the freedesktop.org trash that file managers show and restore
// from), through GIO's g_file_trash.
class CTrash {
public:
    // Moves the file at `strPath` into the trash; false with the reason in `strError`.
    static bool MoveToTrash(const std::string& strPath, std::string& strError);
};
