// libFuzzer target for command-line reading: argument splitting with a
// single-byte and a double-byte character stepper, and both integer widths,
// under the address and undefined behaviour sanitizers. Besides memory
// safety it checks the output contract: zero-terminated, cut to outSize - 1
// bytes, the full length returned, the cut copy a prefix of the whole one.
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

}  // namespace

// Input: byte 0 picks the argument (1..8, bit 7 the stepper), byte 1 the
// buffer size (0..63), the rest is the command line.
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

    // Both widths, on the raw line and on the argument as the modes read it.
    const std::unique_ptr<char[]> exactArgument = ExactCopy(argument.data(), length);
    for (const char* text : {line.get(), exactArgument.get()}) {
        static_cast<void>(ArgumentInteger32(text));
        static_cast<void>(ArgumentInteger64(text));
    }
    return 0;
}
