#pragma once

#include <ctime>
#include <string>

// The stamped form of an operation-log line: "(dd.mm.yyyy, hh:mm:ss) " and the text.
class CLogStamp {
public:
    static std::string Stamp(const std::string& strText, const std::tm& time);
    // Stamped with the local time now.
    static std::string StampNow(const std::string& strText);
};
