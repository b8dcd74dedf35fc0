// What the native tools' command lines have in common: options read with
// getopt_long_only ("-name value", "--name value" or "--name=value"), each at
// most once, "--help", decimal numbers and quoted values in errors.
#pragma once

#include <getopt.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The code of the "help" entry every tool's option table holds.
inline constexpr int HelpOption = 'h';

// Stores the value of the option with that code; false with error set when
// it does not read.
using OptionReader = std::function<bool(int code, std::string_view value, std::string& error)>;

// Reads argv[1..argc-1] against options (ending in a zeroed entry; every
// option but help takes a value), passing each value to read. Help stops the
// reading and sets help. An unknown or repeated option, one without a value,
// or an argument that is not an option fails with a one-line error that
// starts with that argument or option.
bool ReadOptions(int argc, char* const* argv, const option* options, const OptionReader& read, bool& help,
                 std::string& error);
// Plain decimal digits (no sign, no blanks) within low..high.
bool ReadDecimal(std::string_view text, uint32_t low, uint32_t high, uint32_t& value);
// The text in double quotes, for error messages.
std::string Quoted(std::string_view text);
