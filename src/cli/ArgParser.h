#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// Parses "--name", "--name VALUE", "--name=VALUE" and short "-x" options anywhere on the
// command line; everything else (and everything after "--") is positional. Option groups
// register the options they understand.
class CArgParser {
public:
    // A handler answers an error text for a value it does not take, or empty.
    using ValueHandler = std::function<std::string(const std::string& value)>;

    void AddFlag(const std::string& name, std::function<void()> handler);
    void AddValue(const std::string& name, ValueHandler handler);
    // An option that stands alone or takes a value after '=' ("--name=VALUE" only, so the
    // next argument stays positional); the handler gets "" when it stands alone.
    void AddOptionalValue(const std::string& name, ValueHandler handler);

    // False on bad usage, with the reason in Error().
    bool Parse(const std::vector<std::string>& args);

    const std::vector<std::string>& Positional() const { return m_positional; }
    const std::string& Error() const { return m_strError; }

    // Helpers for value handlers: a whole number within bounds, stored in `target`.
    static std::string ParseNumber(const std::string& name, const std::string& value, unsigned nMin,
                                   unsigned nMax, unsigned& target);

private:
    struct SOption {
        bool m_bTakesValue = false;
        bool m_bValueOptional = false;
        std::function<void()> m_flag;
        ValueHandler m_value;
    };

    bool ParseOption(const std::string& arg, const std::vector<std::string>& args, size_t& i);

    std::unordered_map<std::string, SOption> m_options;
    std::vector<std::string> m_positional;
    std::string m_strError;
};
