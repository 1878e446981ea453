#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// What a printf conversion of a catalogue format takes.
enum class EFormatArg { Int, Long, Double, String };

// One argument of a catalogue format, classified so that it can be checked against the
// conversions before anything is formatted.
struct SFormatArg {
    EFormatArg m_kind = EFormatArg::Int;
    long long m_nValue = 0;
    double m_dValue = 0.0;
    std::string_view m_strValue;
};

// printf-style formatting for formats that may come from a language file. A format is
// first reduced to the list of argument kinds its conversions take; only a small, safe
// set of conversions is understood, so a format can never read an argument it was not
// given, take a width from the arguments or write through "%n". Each conversion is
// then formatted on its own with its own, checked argument.
class CUiFormat {
public:
    // Widths and precisions have at most this many digits, which bounds the output.
    static constexpr size_t kMaxWidthDigits = 3;

    // The argument kinds of the conversions of `format`, in order; nullopt when the
    // format holds anything outside the safe set: '*', "%n", a length other than one
    // 'l', an unknown conversion, or a '%' that ends the text.
    static std::optional<std::vector<EFormatArg>> Conversions(std::string_view format);

    // `format` applied to `args`; nullopt when the conversions do not take exactly
    // these kinds of arguments.
    static std::optional<std::string> Apply(std::string_view format,
                                            const std::vector<SFormatArg>& args);

    template <class T> static SFormatArg MakeArg(const T& value);
};

template <class T> SFormatArg CUiFormat::MakeArg(const T& value) {
    using TValue = std::decay_t<T>;
    SFormatArg arg;
    if constexpr (std::is_floating_point_v<TValue>) {
        arg.m_kind = EFormatArg::Double;
        arg.m_dValue = static_cast<double>(value);
    } else if constexpr (std::is_integral_v<TValue>) {
        static_assert(sizeof(TValue) <= sizeof(int) || sizeof(TValue) == sizeof(long),
                      "integers are passed as int-sized or long-sized values");
        arg.m_kind = sizeof(TValue) <= sizeof(int) ? EFormatArg::Int : EFormatArg::Long;
        arg.m_nValue = static_cast<long long>(value);
    } else if constexpr (std::is_pointer_v<T>) {
        static_assert(std::is_same_v<TValue, const char*> || std::is_same_v<TValue, char*>,
                      "a pointer argument is a C string");
        arg.m_kind = EFormatArg::String;
        arg.m_strValue = value != nullptr ? std::string_view(value) : std::string_view();
    } else {
        static_assert(std::is_convertible_v<const TValue&, std::string_view>,
                      "a format argument is a number or a text");
        arg.m_kind = EFormatArg::String;
        arg.m_strValue = std::string_view(value);
    }
    return arg;
}
