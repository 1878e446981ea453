#pragma once

#include <cstdint>
#include <string_view>

// The 127 ID3v1 genres, sorted by name. A genre is always referred to by its row.
class CGenreTable {
public:
    static constexpr unsigned kRowCount = 127;
    // Stands for "no genre" in naming rules.
    static constexpr unsigned kNoGenre = 0xFFFFFFFF;

    // The name of `nRow`; empty for row 0 and for rows outside the table.
    static std::string_view GenreName(unsigned nRow);
    // The ID3v1 genre number of `nRow` (255 for row 0 and for rows outside the table).
    static std::uint8_t GenreNumber(unsigned nRow);
    // The row whose name equals `name` without regard to case, or -1.
    static int FindRow(std::string_view name);
};
