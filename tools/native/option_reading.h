// What the native tools' command lines have in common: "--name value" pairs,
// each at most once, "--help", decimal numbers and quoted values in errors.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Stores one option's value; false with error set when it does not read.
using OptionReader = std::function<bool(std::string_view option, std::string_view value, std::string& error)>;

// Walks "--name value" pairs, passing each to read. "--help" stops the walk
// and sets help. An unknown or repeated option, or one without a value,
// fails with a one-line error that starts with the option.
bool ReadOptions(const std::vector<std::string>& arguments, std::span<const std::string_view> options,
                 const OptionReader& read, bool& help, std::string& error);
// Plain decimal digits (no sign, no blanks) within low..high.
bool ReadDecimal(std::string_view text, uint32_t low, uint32_t high, uint32_t& value);
// The text in double quotes, for error messages.
std::string Quoted(std::string_view text);
