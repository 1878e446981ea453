#include "freedb/service/TreeFormat.h"

#include "freedb/service/AlbumInfo.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr const char* kSection = "FreeDB";
constexpr const char* kKey = "TreeFormat";
constexpr CTreeFormat::Codes kDefaultCodes = {CTreeFormat::kCategory, CTreeFormat::kArtist,
                                              CTreeFormat::kTitle, CTreeFormat::kEnd};

bool IsKnownLevel(int nLevel) {
    return nLevel >= CTreeFormat::kCategory && nLevel <= CTreeFormat::kDiscId;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}
} // namespace

CTreeFormat::CTreeFormat() : m_codes(kDefaultCodes) {}

void CTreeFormat::Load(const CProfile& profile) {
    m_codes = Decode(profile.GetString(kSection, kKey, ""));
}

bool CTreeFormat::Save(CProfile& profile) const {
    return profile.WriteString(kSection, kKey, Encode(m_codes));
}

std::string CTreeFormat::Encode(const Codes& codes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::int32_t code : codes) {
        const auto bits = static_cast<std::uint32_t>(code);
        for (int byte = 0; byte < 4; ++byte) {
            const unsigned value = (bits >> (8 * byte)) & 0xffu;
            hex += kDigits[value >> 4];
            hex += kDigits[value & 0xfu];
        }
    }
    return hex;
}

CTreeFormat::Codes CTreeFormat::Decode(const std::string& strHex) {
    if (strHex.size() != kLevelCount * 8)
        return kDefaultCodes;
    Codes codes{};
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        std::uint32_t bits = 0;
        for (std::size_t byte = 0; byte < 4; ++byte) {
            const std::size_t at = level * 8 + byte * 2;
            const int high = HexDigit(strHex[at]);
            const int low = HexDigit(strHex[at + 1]);
            if (high < 0 || low < 0)
                return kDefaultCodes;
            bits |= static_cast<std::uint32_t>(high * 16 + low) << (8 * byte);
        }
        codes[level] = static_cast<std::int32_t>(bits);
    }
    return codes;
}

std::vector<int> CTreeFormat::Levels() const {
    std::vector<int> levels;
    for (const std::int32_t code : m_codes) {
        if (code == kEnd)
            break;
        if (IsKnownLevel(code) && std::find(levels.begin(), levels.end(), code) == levels.end())
            levels.push_back(code);
    }
    if (levels.empty())
        levels.push_back(kDiscId);
    return levels;
}

std::string CTreeFormat::LabelOf(int nLevel, const CAlbumInfo& album) {
    switch (nLevel) {
    case kCategory:
        return album.GetCategory();
    case kArtist:
        return album.GetArtist();
    case kTitle:
        return album.GetTitle();
    case kDiscId:
        return album.GetDiscId();
    default:
        return {};
    }
}

std::vector<CTreeFormat::SLevelItem> CTreeFormat::Items() const {
    std::vector<SLevelItem> items;
    const std::vector<int> levels = Levels();
    for (const int level : levels)
        items.push_back({level, true});
    for (int level = kCategory; level <= kDiscId; ++level) {
        if (std::find(levels.begin(), levels.end(), level) == levels.end())
            items.push_back({level, false});
    }
    return items;
}

CTreeFormat CTreeFormat::FromItems(const std::vector<SLevelItem>& items) {
    Codes codes = {kEnd, kEnd, kEnd, kEnd};
    std::size_t count = 0;
    for (const SLevelItem& item : items) {
        if (item.m_bShown && count < kLevelCount)
            codes[count++] = item.m_nLevel;
    }
    if (count == 0)
        codes[0] = kDiscId;
    return CTreeFormat(codes);
}
