// libFuzzer target for command-line reading: argument splitting with a
// single-byte and a double-byte character stepper, and both integer widths,
// under the address and undefined behaviour sanitizers. Besides memory
// safety it checks the splitting's output contract (zero-terminated, cut to
// outSize - 1 bytes, the full length returned, the cut copy a prefix of the
// whole one) and the integer readers': every value of a width, written in
// decimal or hexadecimal after blanks and a sign, reads back as itself, and
// what follows the digits changes nothing but the 32-bit reading's sign.
#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "host/arguments.h"

namespace {

// Stops the run with the input kept by libFuzzer as the crash artifact.
void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "contract broken: %s\n", what);
    std::abort();
}

const char* NextByte(const char* p) { return *p == '\0' ? p : p + 1; }

// A double-byte code page: a lead byte joins the byte after it, unless that
// is the terminator (as CharNextA does).
const char* NextDoubleByte(const char* p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte == 0) return p;
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return lead && p[1] != '\0' ? p + 2 : p + 1;
}

// A zero-terminated copy on the heap with no room after the terminator, so
// reading past it is caught.
std::unique_ptr<char[]> ExactCopy(const void* bytes, std::size_t size) {
    std::unique_ptr<char[]> copy(new char[size + 1]);
    std::memcpy(copy.get(), bytes, size);
    copy[size] = '\0';
    return copy;
}

// Splits with a buffer of exactly outSize bytes on the heap, so any write
// outside it is caught, and checks the result against the whole argument.
void CheckCutCopy(const char* line, int n, CharNextFunction next, std::size_t outSize, const std::string& whole) {
    const std::unique_ptr<char[]> out(new char[outSize]);
    const std::size_t length = SplitArgument(line, n, next, out.get(), outSize);
    Require(length == whole.size(), "the full length is returned whatever the buffer");
    if (outSize == 0) return;
    const std::size_t kept = length < outSize - 1 ? length : outSize - 1;
    Require(out[kept] == '\0', "zero-terminated after at most outSize - 1 bytes");
    Require(std::memcmp(out.get(), whole.data(), kept) == 0, "the cut copy starts the whole argument");
}

// The text for a value: form bits 6-7 give 0..3 blanks, bit 5 a "+" before
// a value that is not negative, bit 0 hexadecimal, bits 1-3 its prefix, bit 4
// capital hex digits.
std::string Written(uint64_t magnitude, bool negative, uint8_t form) {
    static constexpr const char* HexPrefixes[] = {"$", "x", "X", "0x", "0X"};
    std::string text(form >> 6, ' ');
    if (negative || (form & 0x20) != 0) text += negative ? '-' : '+';
    char digits[24];
    if ((form & 1) != 0) text += HexPrefixes[(form >> 1 & 7) % 5];
    std::snprintf(digits, sizeof digits, (form & 1) == 0 ? "%" PRIu64 : (form & 0x10) != 0 ? "%" PRIX64 : "%" PRIx64,
                  magnitude);
    return text + digits;
}

// Reads the value back in both widths, followed by tail unless the tail
// starts with a letter or digit, which could extend the number ("0" and "x5").
void CheckIntegerReading(uint64_t bits, uint8_t form, std::string tail) {
    if (!tail.empty() && std::isalnum(static_cast<unsigned char>(tail[0])) != 0) tail.clear();
    const auto read = [](const std::string& text, auto reader) {
        return reader(ExactCopy(text.data(), text.size()).get());
    };

    // In hexadecimal, form bit 5 writes a negative value as its two's
    // complement, as a window handle may be written.
    const bool twosComplement = (form & 0x21) == 0x21;
    const auto value64 = static_cast<int64_t>(bits);
    const bool negative64 = value64 < 0 && !twosComplement;
    Require(read(Written(negative64 ? 0 - bits : bits, negative64, form) + tail, ArgumentInteger64) == value64,
            "a 64-bit value reads back");

    const auto value32 = static_cast<int32_t>(static_cast<uint32_t>(bits));
    const bool negative32 = value32 < 0 && !twosComplement;
    const uint32_t magnitude32 = negative32 ? 0u - static_cast<uint32_t>(value32) : static_cast<uint32_t>(value32);
    // In 32-bit width a "-" counts only when the digits run to the end.
    const int32_t expected32 = negative32 && !tail.empty() ? static_cast<int32_t>(magnitude32) : value32;
    Require(read(Written(magnitude32, negative32, form) + tail, ArgumentInteger32) == expected32,
            "a 32-bit value reads back");
}

}  // namespace

// Input: byte 0 picks the argument (1..8, bit 7 the stepper), byte 1 the
// buffer size (0..63), the rest is the command line. For the integers,
// bytes 0-7 are the value, byte 8 its form and the rest what follows it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int n = 1 + (data[0] & 7);
    const CharNextFunction next = (data[0] & 0x80) != 0 ? NextDoubleByte : NextByte;
    const std::size_t outSize = data[1] % 64;
    const std::unique_ptr<char[]> line = ExactCopy(data + 2, size - 2);
    const std::size_t lineLength = std::strlen(line.get());

    // An argument is never longer than the line, so this buffer holds it all.
    const std::size_t wholeSize = lineLength + 1;
    const std::unique_ptr<char[]> whole(new char[wholeSize]);
    const std::size_t length = SplitArgument(line.get(), n, next, whole.get(), wholeSize);
    Require(length <= lineLength, "no longer than the line");
    Require(std::strlen(whole.get()) == length, "zero-terminated right after the argument");
    // With double bytes a quote can be the second byte of a character.
    if (next == NextByte) Require(std::memchr(whole.get(), '"', length) == nullptr, "quote characters are dropped");
    const std::string argument(whole.get(), length);
    CheckCutCopy(line.get(), n, next, outSize, argument);

    if (size < 9) return 0;
    uint64_t bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    CheckIntegerReading(bits, data[8], ExactCopy(data + 9, size - 9).get());
    return 0;
}
