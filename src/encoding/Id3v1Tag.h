#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

class CTrackItem;

// The 128-byte ID3 version 1.1 tag appended to an MP3 file.
class CId3v1Tag {
public:
    using Bytes = std::array<unsigned char, 128>;

    static Bytes BuildId3v1Tag(const CTrackItem& track);
    // Writes the tag with one write at the current position of `stream`.
    static bool WriteId3v1Tag(const CTrackItem& track, std::FILE* stream);

    // UTF-8 to ISO-8859-1: one byte per character, '?' for characters outside
    // ISO-8859-1 and for bytes that are not valid UTF-8.
    static std::string ToLatin1(std::string_view utf8);
};
