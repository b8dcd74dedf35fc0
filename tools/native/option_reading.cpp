#include "option_reading.h"

#include <vector>

namespace {

// "--name" of the option with that code.
std::string OptionName(const option* options, int code) {
    for (; options->name != nullptr; ++options)
        if (options->val == code) return std::string("--") + options->name;
    return "option";
}

// An argument getopt did not take, as errors show it.
std::string Shown(const char* argument) { return *argument == '\0' ? Quoted(argument) : std::string(argument); }

}  // namespace

bool ReadOptions(int argc, char* const* argv, const option* options, const OptionReader& read, bool& help,
                 std::string& error) {
    optind = 0;  // glibc starts afresh, so a program or test may read twice
    opterr = 0;  // the messages are ours
    std::vector<int> seen;
    // "+": stop at the first argument that is not an option; ":": report a
    // missing value apart from an unknown option.
    for (int code; (code = getopt_long_only(argc, argv, "+:", options, nullptr)) != -1;) {
        if (code == ':') {
            error = OptionName(options, optopt) + ": missing value";
            return false;
        }
        if (code == '?') {
            error = Shown(argv[optind - 1]) + ": unknown option (see --help)";
            return false;
        }
        if (code == HelpOption) {
            // Help wins over whatever follows, so it always gets through.
            help = true;
            return true;
        }
        for (const int earlier : seen) {
            if (earlier != code) continue;
            error = OptionName(options, code) + ": given more than once";
            return false;
        }
        seen.push_back(code);
        if (!read(code, optarg, error)) return false;
    }
    if (optind < argc) {
        error = Shown(argv[optind]) + ": unknown option (see --help)";
        return false;
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
