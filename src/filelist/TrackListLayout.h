#pragma once

#include "filelist/TrackListColumns.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class CProfile;

// The file list's columns as the user arranged them: which are shown, in what order and
// how wide, and the state of sorting by a header click. The flags and the order live in
// the profile; the sort state lasts as long as the list. Lives in the window thread.
class CTrackListLayout {
public:
    static constexpr int kColumnCount = CTrackListColumns::kColumnCount;
    // The logical column shown at each position, left to right.
    using Order = std::array<int, kColumnCount>;
    using Widths = std::array<int, kColumnCount>;

    // A header click that sorts: the column and whether every comparison is reversed.
    struct SSortRequest {
        int m_nColumn;
        bool m_bReverse;
        bool operator==(const SSortRequest&) const = default;
    };

    CTrackListLayout();

    // Reads the flags of "View Columns" and "Settings"/"ColumnOrderArray".
    void Load(const CProfile& profile);
    void Save(CProfile& profile) const;

    bool IsVisible(int nColumn) const { return m_visible[static_cast<size_t>(nColumn)]; }
    void ToggleVisible(int nColumn);
    const Order& ColumnOrder() const { return m_order; }
    void SetColumnOrder(const Order& order) { m_order = order; }

    // The order a stored value asks for: nine digits "1" + column, each column once. A
    // value equal to the default, or one that is not such an order, gives no order, and
    // the list keeps its natural one.
    static std::optional<Order> ParseColumnOrder(std::string_view value);
    static std::string FormatColumnOrder(const Order& order);

    // The widths for a list `nListWidth` pixels wide. `fitted` holds, for the number,
    // play time and size columns, the width that fits their header and contents; the
    // status column is 75 pixels, and the name, title and directory columns share the
    // rest, at least 100 pixels each. Hidden columns are 0 wide.
    Widths ComputeWidths(int nListWidth, const Widths& fitted) const;
    // Whether the column is one whose fitted width ComputeWidths reads.
    static bool IsFitted(int nColumn);

    // A click on a header: the name, play time, size and status columns sort, ascending
    // first and reversed on a second click of the same column.
    std::optional<SSortRequest> ClickHeader(int nColumn);
    // The column last sorted by (-1: none yet) and its direction.
    int SortColumn() const { return m_nSortColumn; }
    bool IsSortReversed() const { return m_bSortReversed; }

private:
    std::array<bool, kColumnCount> m_visible{};
    Order m_order{};
    int m_nSortColumn = -1;
    bool m_bSortReversed = false;
};
