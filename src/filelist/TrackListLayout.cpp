#include "filelist/TrackListLayout.h"

#include "platform/Profile.h"
#include "platform/Text.h"

#include <algorithm>

namespace {
using Columns = CTrackListColumns;

constexpr const char* kColumnsSection = "View Columns";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kOrderKey = "ColumnOrderArray";
constexpr std::string_view kDefaultOrder = "213456789";
constexpr int kStatusWidth = 75;
constexpr int kMinimumShare = 100;
// The list's own border and check box column, which no column can take.
constexpr int kListReserve = 18;

struct SVisibilityKey {
    int m_nColumn;
    const char* m_strKey;
    bool m_bDefault;
};
// In the order the flags are written.
constexpr SVisibilityKey kVisibilityKeys[] = {
    {Columns::kTitle, "ViewTrackName", true},     {Columns::kNumber, "ViewTrackID", true},
    {Columns::kPlayTime, "ViewPlayTime", true},   {Columns::kStatus, "ViewStatus", true},
    {Columns::kMp3Name, "ViewMP3Name", true},     {Columns::kMp3Size, "ViewMP3Size", false},
    {Columns::kWavName, "ViewWAVName", true},     {Columns::kWavSize, "ViewWAVSize", false},
    {Columns::kDirectory, "ViewDirectory", false}};

constexpr int kFittedColumns[] = {Columns::kNumber, Columns::kPlayTime, Columns::kWavSize,
                                  Columns::kMp3Size};
constexpr int kSharingColumns[] = {Columns::kWavName, Columns::kMp3Name, Columns::kTitle,
                                   Columns::kDirectory};
constexpr int kSortableColumns[] = {Columns::kWavName, Columns::kPlayTime, Columns::kWavSize,
                                    Columns::kMp3Size, Columns::kStatus};

// A stored flag shows its column only when it is a positive number; a missing one
// gives the default.
bool ReadVisibility(const CProfile& profile, const SVisibilityKey& key) {
    const std::string value = profile.GetString(kColumnsSection, key.m_strKey, "");
    if (value.empty())
        return key.m_bDefault;
    long long number = 0;
    return CText::ParseInt(value, number) && number > 0;
}

CTrackListLayout::Order NaturalOrder() {
    CTrackListLayout::Order order{};
    for (int i = 0; i < CTrackListLayout::kColumnCount; ++i)
        order[static_cast<size_t>(i)] = i;
    return order;
}
} // namespace

CTrackListLayout::CTrackListLayout() : m_order(NaturalOrder()) {
    for (const SVisibilityKey& key : kVisibilityKeys)
        m_visible[static_cast<size_t>(key.m_nColumn)] = key.m_bDefault;
}

void CTrackListLayout::Load(const CProfile& profile) {
    for (const SVisibilityKey& key : kVisibilityKeys)
        m_visible[static_cast<size_t>(key.m_nColumn)] = ReadVisibility(profile, key);
    m_order = ParseColumnOrder(profile.GetString(kSettingsSection, kOrderKey, kDefaultOrder))
                  .value_or(NaturalOrder());
}

void CTrackListLayout::Save(CProfile& profile) const {
    CProfile::CDeferredSave batch(profile);
    for (const SVisibilityKey& key : kVisibilityKeys)
        profile.WriteInt(kColumnsSection, key.m_strKey, IsVisible(key.m_nColumn) ? 1 : 0);
    profile.WriteString(kSettingsSection, kOrderKey, FormatColumnOrder(m_order));
}

void CTrackListLayout::ToggleVisible(int nColumn) {
    m_visible[static_cast<size_t>(nColumn)] = !IsVisible(nColumn);
}

std::optional<CTrackListLayout::Order> CTrackListLayout::ParseColumnOrder(std::string_view value) {
    if (value.size() != kColumnCount || CText::EqualsNoCase(value, kDefaultOrder))
        return std::nullopt;
    Order order{};
    std::array<bool, kColumnCount> seen{};
    for (size_t i = 0; i < value.size(); ++i) {
        const int column = value[i] - '1';
        if (column < 0 || column >= kColumnCount || seen[static_cast<size_t>(column)])
            return std::nullopt;
        seen[static_cast<size_t>(column)] = true;
        order[i] = column;
    }
    return order;
}

std::string CTrackListLayout::FormatColumnOrder(const Order& order) {
    std::string value;
    for (const int column : order)
        value += static_cast<char>('1' + column);
    return value;
}

CTrackListLayout::Widths CTrackListLayout::ComputeWidths(int nListWidth,
                                                         const Widths& fitted) const {
    Widths widths{};
    int freeWidth = nListWidth - kListReserve;
    for (const int column : kFittedColumns) {
        const auto index = static_cast<size_t>(column);
        widths[index] = IsVisible(column) ? fitted[index] : 0;
        freeWidth -= widths[index];
    }
    widths[Columns::kStatus] = IsVisible(Columns::kStatus) ? kStatusWidth : 0;
    freeWidth -= widths[Columns::kStatus];
    const auto sharing =
        static_cast<int>(std::count_if(std::begin(kSharingColumns), std::end(kSharingColumns),
                                       [this](int nColumn) { return IsVisible(nColumn); }));
    if (sharing == 0)
        return widths;
    for (const int column : kSharingColumns) {
        if (IsVisible(column))
            widths[static_cast<size_t>(column)] = std::max(freeWidth / sharing, kMinimumShare);
    }
    return widths;
}

bool CTrackListLayout::IsFitted(int nColumn) {
    return std::find(std::begin(kFittedColumns), std::end(kFittedColumns), nColumn) !=
           std::end(kFittedColumns);
}

std::optional<CTrackListLayout::SSortRequest> CTrackListLayout::ClickHeader(int nColumn) {
    if (std::find(std::begin(kSortableColumns), std::end(kSortableColumns), nColumn) ==
        std::end(kSortableColumns))
        return std::nullopt;
    m_bSortReversed = nColumn == m_nSortColumn ? !m_bSortReversed : false;
    m_nSortColumn = nColumn;
    return SSortRequest{nColumn, m_bSortReversed};
}
