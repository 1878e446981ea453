#include "lang/UiFormat.h"

#include <gtest/gtest.h>

namespace {
using Kinds = std::vector<EFormatArg>;
constexpr EFormatArg kInt = EFormatArg::Int;
constexpr EFormatArg kLong = EFormatArg::Long;
constexpr EFormatArg kDouble = EFormatArg::Double;
constexpr EFormatArg kString = EFormatArg::String;

template <class... TArgs>
std::optional<std::string> Apply(const char* format, const TArgs&... args) {
    return CUiFormat::Apply(format, {CUiFormat::MakeArg(args)...});
}
} // namespace

TEST(UiFormatTest, ConversionsAreClassifiedByTheirArgumentAndOnlyTheSafeSetIsUsable) {
    EXPECT_EQ(CUiFormat::Conversions("%4.2f  MB "), Kinds({kDouble}));
    EXPECT_EQ(CUiFormat::Conversions("%u:%02u.%02u"), Kinds({kInt, kInt, kInt}));
    EXPECT_EQ(CUiFormat::Conversions("Size : %ld bytes, %lu, %lx"), Kinds({kLong, kLong, kLong}));
    EXPECT_EQ(CUiFormat::Conversions("%-10s|%c|%+.3e|%lf"),
              Kinds({kString, kInt, kDouble, kDouble}));
    EXPECT_EQ(CUiFormat::Conversions("100 %% and no conversion"), Kinds({}));

    // Anything outside the safe set makes the format unusable.
    for (const char* format : {"%n", "%d%n", "%*d", "%.*f", "%d %", "%", "%lld", "%hd", "%zu",
                               "%ls", "%lc", "%p", "%1$s", "%q", "%1000d", "%.1000f", "%5%"}) {
        EXPECT_FALSE(CUiFormat::Conversions(format).has_value()) << format;
        EXPECT_FALSE(Apply(format, 1).has_value()) << format;
    }
}

TEST(UiFormatTest, FormatsEachConversionWithItsOwnArgumentAndRefusesOnesThatDoNotFit) {
    EXPECT_EQ(Apply("%-4s|%05.1f|%x|%c|%ld|%u", "ab", 3.14159, 255, 'Z', 4000000000L, -1),
              "ab  |003.1|ff|Z|4000000000|4294967295");
    EXPECT_EQ(Apply("Play time: %.2d:%.2d", 101, 0), "Play time: 101:00");
    EXPECT_EQ(Apply("%4.2f  MB ", 1.5f), "1.50  MB ");
    EXPECT_EQ(Apply("100 %%"), "100 %");
    EXPECT_EQ(Apply("%s", std::string("multi\nline")), "multi\nline");
    EXPECT_EQ(Apply("%999d", 7)->size(), 999u);

    // Arguments that do not fit the conversions are refused.
    EXPECT_FALSE(Apply("%d %d", 1).has_value());
    EXPECT_FALSE(Apply("%d", 1, 2).has_value());
    EXPECT_FALSE(Apply("%s", 5).has_value());
    EXPECT_FALSE(Apply("%d", "text").has_value());
    EXPECT_FALSE(Apply("%d", 2.5).has_value());
    EXPECT_FALSE(Apply("%ld", 5).has_value());
    EXPECT_FALSE(Apply("%d", 5L).has_value());
}
