#include "freedb/service/CellSort.h"

#include "platform/Text.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string_view>

namespace {
// Digits only, at most 18 of them so the value fits.
std::optional<std::int64_t> Digits(std::string_view text) {
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::optional<std::int64_t> value = Digits(negative ? text.substr(1) : text);
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

// "m:ss" or "h:mm:ss" in seconds; every part after the first has two digits below 60.
std::optional<std::int64_t> Seconds(std::string_view text) {
    std::int64_t total = 0;
    int parts = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        const std::optional<std::int64_t> value = Digits(part);
        if (!value || (parts > 0 && (part.size() != 2 || *value >= 60)))
            return std::nullopt;
        total = total * 60 + *value;
        ++parts;
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    if (parts < 2 || parts > 3)
        return std::nullopt;
    return total;
}

template <class TParse> bool AllRead(const std::vector<std::string>& cells, TParse parse) {
    return std::all_of(cells.begin(), cells.end(),
                       [&parse](const std::string& cell) { return parse(cell).has_value(); });
}
} // namespace

CCellSort::EKind CCellSort::KindOf(const std::vector<std::string>& cells) {
    if (AllRead(cells, WholeNumber))
        return EKind::Number;
    if (AllRead(cells, Seconds))
        return EKind::Time;
    return EKind::Text;
}

std::vector<std::size_t> CCellSort::SortedOrder(const std::vector<std::string>& cells,
                                                bool bDescending) {
    const EKind kind = KindOf(cells);
    std::vector<std::int64_t> values(cells.size());
    std::vector<std::string> texts(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (kind == EKind::Number)
            values[i] = *WholeNumber(cells[i]);
        else if (kind == EKind::Time)
            values[i] = *Seconds(cells[i]);
        else
            texts[i] = CText::ToLowerAscii(cells[i]);
    }
    const auto less = [&](std::size_t a, std::size_t b) {
        return kind == EKind::Text ? texts[a] < texts[b] : values[a] < values[b];
    };
    std::vector<std::size_t> order(cells.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (bDescending)
        std::stable_sort(order.begin(), order.end(),
                         [&less](std::size_t a, std::size_t b) { return less(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), less);
    return order;
}
