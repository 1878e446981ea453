#include "cli/ArgParser.h"

#include <charconv>

void CArgParser::AddFlag(const std::string& name, std::function<void()> handler) {
    m_options[name] = SOption{false, false, std::move(handler), {}};
}

void CArgParser::AddValue(const std::string& name, ValueHandler handler) {
    m_options[name] = SOption{true, false, {}, std::move(handler)};
}

void CArgParser::AddOptionalValue(const std::string& name, ValueHandler handler) {
    m_options[name] = SOption{false, true, {}, std::move(handler)};
}

bool CArgParser::Parse(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            m_positional.insert(m_positional.end(), args.begin() + static_cast<long>(i) + 1,
                                args.end());
            return true;
        }
        const bool shortOption = arg.size() == 2 && arg[0] == '-' && arg[1] != '-';
        if (shortOption || (arg.size() > 2 && arg.compare(0, 2, "--") == 0)) {
            if (!ParseOption(arg, args, i))
                return false;
            continue;
        }
        m_positional.push_back(arg);
    }
    return true;
}

bool CArgParser::ParseOption(const std::string& arg, const std::vector<std::string>& args,
                             size_t& i) {
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const auto found = m_options.find(name);
    if (found == m_options.end()) {
        m_strError = "unknown option " + name;
        return false;
    }
    const SOption& option = found->second;
    if (option.m_bValueOptional) {
        m_strError = option.m_value(equals == std::string::npos ? "" : arg.substr(equals + 1));
        return m_strError.empty();
    }
    if (!option.m_bTakesValue) {
        if (equals != std::string::npos) {
            m_strError = name + " takes no value";
            return false;
        }
        option.m_flag();
        return true;
    }
    std::string value;
    if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        m_strError = name + " needs a value";
        return false;
    }
    m_strError = option.m_value(value);
    return m_strError.empty();
}

std::string CArgParser::ParseNumber(const std::string& name, const std::string& value,
                                    unsigned nMin, unsigned nMax, unsigned& target) {
    unsigned number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < nMin ||
        number > nMax) {
        return name + " takes a number from " + std::to_string(nMin) + " to " +
               std::to_string(nMax) + ", not '" + value + "'";
    }
    target = number;
    return {};
}
