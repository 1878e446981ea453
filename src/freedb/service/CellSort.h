#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Sorting a list column by its cell texts, as a header click does: by number when every
// cell reads as a whole number, by time when every cell reads as minutes:seconds or
// hours:minutes:seconds, otherwise by text without regard to case.
class CCellSort {
public:
    enum class EKind { Number, Time, Text };

    static EKind KindOf(const std::vector<std::string>& cells);
    // The row order that sorts the cells; rows that compare equal keep their order.
    static std::vector<std::size_t> SortedOrder(const std::vector<std::string>& cells,
                                                bool bDescending);
};
