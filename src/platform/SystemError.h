#pragma once

#include <string>

// The system's reason for a failed call, worded for a message that goes on after a
// colon: "permission denied", "no space left on device".
class CSystemError {
public:
    static std::string Text(int nError);
};
