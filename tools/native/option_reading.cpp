#include "option_reading.h"

#include <algorithm>

bool ReadOptions(const std::vector<std::string>& arguments, std::span<const std::string_view> options,
                 const OptionReader& read, bool& help, std::string& error) {
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (option == "--help") {
            // Help wins over whatever follows, so it always gets through.
            help = true;
            return true;
        }
        if (std::find(options.begin(), options.end(), option) == options.end()) {
            error = (option.empty() ? Quoted(option) : std::string(option)) + ": unknown option (see --help)";
            return false;
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            error = std::string(option) + ": given more than once";
            return false;
        }
        seen.push_back(option);
        if (i + 1 == arguments.size()) {
            error = std::string(option) + ": missing value";
            return false;
        }
        if (!read(option, arguments[++i], error)) return false;
    }
    return true;
}

bool ReadDecimal(std::string_view text, uint32_t low, uint32_t high, uint32_t& value) {
    if (text.empty()) return false;
    uint64_t total = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        total = total * 10 + static_cast<uint64_t>(c - '0');
        if (total > high) return false;  // also keeps total far from overflowing
    }
    if (total < low) return false;
    value = static_cast<uint32_t>(total);
    return true;
}

std::string Quoted(std::string_view text) {
    // Built by appending, which keeps GCC 12's -Wrestrict false alarm on
    // "\"" + string away.
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}
