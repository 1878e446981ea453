#include "freedb/protocol/LogStamp.h"

#include "platform/Text.h"

std::string CLogStamp::Stamp(const std::string& strText, const std::tm& time) {
    return CText::Format(
        "(%.02u.%.02u.%u, %.02u:%.02u:%.02u) %s", static_cast<unsigned>(time.tm_mday),
        static_cast<unsigned>(time.tm_mon + 1), static_cast<unsigned>(time.tm_year + 1900),
        static_cast<unsigned>(time.tm_hour), static_cast<unsigned>(time.tm_min),
        static_cast<unsigned>(time.tm_sec), strText.c_str());
}

std::string CLogStamp::StampNow(const std::string& strText) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Stamp(strText, local);
}
