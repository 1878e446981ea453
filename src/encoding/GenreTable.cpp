#include "encoding/GenreTable.h"

#include "platform/Text.h"

#include <array>

namespace {
struct SGenre {
    std::uint8_t m_nNumber;
    const char* m_strName;
};

// Sorted by name as the genre lists show them; row 0 stands for no genre.
constexpr std::array<SGenre, CGenreTable::kRowCount> kGenres{{
    {255, ""},
    {123, "A capella"},
    {74, "Acid Jazz"},
    {73, "Acid Punk"},
    {34, "Acid"},
    {99, "Acoustic"},
    {40, "AlternRock"},
    {20, "Alternative"},
    {26, "Ambient"},
    {90, "Avantgarde"},
    {116, "Ballad"},
    {41, "Bass"},
    {85, "Bebob"},
    {96, "Big Band"},
    {89, "Bluegrass"},
    {0, "Blues"},
    {107, "Booty Bass"},
    {65, "Cabaret"},
    {88, "Celtic"},
    {104, "Chamber Music"},
    {102, "Chanson"},
    {97, "Chorus"},
    {61, "Christian Rap"},
    {1, "Classic Rock"},
    {32, "Classical"},
    {112, "Club"},
    {57, "Comedy"},
    {2, "Country"},
    {58, "Cult"},
    {125, "Dance Hall"},
    {3, "Dance"},
    {50, "Darkwave"},
    {22, "Death Metal"},
    {4, "Disco"},
    {55, "Dream"},
    {122, "Drum Solo"},
    {120, "Duet"},
    {98, "Easy Listening"},
    {52, "Electronic"},
    {48, "Ethnic"},
    {124, "Euro-House"},
    {25, "Euro-Techno"},
    {54, "Eurodance"},
    {84, "Fast Fusion"},
    {80, "Folk"},
    {81, "Folk-Rock"},
    {115, "Folklore"},
    {119, "Freestyle"},
    {5, "Funk"},
    {30, "Fusion"},
    {36, "Game"},
    {59, "Gangsta"},
    {38, "Gospel"},
    {91, "Gothic Rock"},
    {49, "Gothic"},
    {6, "Grunge"},
    {79, "Hard Rock"},
    {7, "Hip-Hop"},
    {35, "House"},
    {100, "Humour"},
    {19, "Industrial"},
    {46, "Instrumental Pop"},
    {47, "Instrumental Rock"},
    {33, "Instrumental"},
    {8, "Jazz"},
    {29, "Jazz+Funk"},
    {63, "Jungle"},
    {86, "Latin"},
    {71, "Lo-Fi"},
    {45, "Meditative"},
    {9, "Metal"},
    {77, "Musical"},
    {82, "National Folk"},
    {64, "Native American"},
    {10, "New Age"},
    {66, "New Wave"},
    {39, "Noise"},
    {11, "Oldies"},
    {103, "Opera"},
    {12, "Other"},
    {75, "Polka"},
    {13, "Pop"},
    {53, "Pop-Folk"},
    {62, "Pop/Funk"},
    {109, "Porn Groove"},
    {117, "Power Ballad"},
    {23, "Pranks"},
    {108, "Primus"},
    {92, "Progressive Rock"},
    {67, "Psychadelic"},
    {93, "Psychedelic Rock"},
    {121, "Punk Rock"},
    {43, "Punk"},
    {14, "R&B"},
    {15, "Rap"},
    {68, "Rave"},
    {16, "Reggae"},
    {76, "Retro"},
    {87, "Revival"},
    {118, "Rhythmic Soul"},
    {78, "Rock & Roll"},
    {17, "Rock"},
    {114, "Samba"},
    {110, "Satire"},
    {69, "Showtunes"},
    {21, "Ska"},
    {111, "Slow Jam"},
    {95, "Slow Rock"},
    {105, "Sonata"},
    {42, "Soul"},
    {37, "Sound Clip"},
    {24, "Soundtrack"},
    {56, "Southern Rock"},
    {44, "Space"},
    {101, "Speech"},
    {83, "Swing"},
    {94, "Symphonic Rock"},
    {106, "Symphony"},
    {113, "Tango"},
    {18, "Techno"},
    {51, "Techno-Industrial"},
    {60, "Top 40"},
    {70, "Trailer"},
    {31, "Trance"},
    {72, "Tribal"},
    {27, "Trip-Hop"},
    {28, "Vocal"},
}};
} // namespace

std::string_view CGenreTable::GenreName(unsigned nRow) {
    if (nRow >= kRowCount)
        return {};
    return kGenres[nRow].m_strName;
}

std::uint8_t CGenreTable::GenreNumber(unsigned nRow) {
    if (nRow >= kRowCount)
        return kGenres[0].m_nNumber;
    return kGenres[nRow].m_nNumber;
}

int CGenreTable::FindRow(std::string_view name) {
    // The empty name is "no genre"; any other name is looked for among the real genres.
    if (name.empty())
        return 0;
    for (unsigned row = 1; row < kRowCount; ++row) {
        if (CText::EqualsNoCase(kGenres[row].m_strName, name))
            return static_cast<int>(row);
    }
    return -1;
}
