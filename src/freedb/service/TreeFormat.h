#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CAlbumInfo;
class CProfile;

// How the FreeDB editor groups the albums in its tree: up to four levels, each a code (1
// category, 2 artist, 3 album title, 4 disc ID), used in order up to the first -1. Kept
// in the profile as "TreeFormat", four 32-bit little-endian integers in hex digits.
class CTreeFormat {
public:
    enum ELevel { kCategory = 1, kArtist = 2, kTitle = 3, kDiscId = 4 };
    static constexpr int kEnd = -1;
    static constexpr std::size_t kLevelCount = 4;
    using Codes = std::array<std::int32_t, kLevelCount>;

    // One row of the "Albums Tree View" sample: a level and whether the tree shows it.
    struct SLevelItem {
        int m_nLevel;
        bool m_bShown;
        bool operator==(const SLevelItem&) const = default;
    };

    // Category, artist, album title.
    CTreeFormat();
    explicit CTreeFormat(const Codes& codes) : m_codes(codes) {}

    // A stored value that is not exactly 16 bytes of hex digits gives the default.
    void Load(const CProfile& profile);
    bool Save(CProfile& profile) const;
    static std::string Encode(const Codes& codes);
    static Codes Decode(const std::string& strHex);

    const Codes& GetCodes() const { return m_codes; }
    // The levels the tree uses, outermost first: the known codes before the first -1,
    // each once. Never empty: a format without a level groups by disc ID alone.
    std::vector<int> Levels() const;
    // What an album shows at a level.
    static std::string LabelOf(int nLevel, const CAlbumInfo& album);

    // The four levels as the options page lists them: the used ones in order, then the
    // others unticked in code order.
    std::vector<SLevelItem> Items() const;
    // The format of a list of items: the ticked levels in their order, then -1; with
    // none ticked, the disc ID level alone.
    static CTreeFormat FromItems(const std::vector<SLevelItem>& items);

private:
    Codes m_codes;
};
