#include "host/arguments.h"

namespace {

bool IsBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

// Skips blanks and every empty pair of quotes standing where an argument
// would begin, with the blanks after each pair.
const char* SkipToArgument(const char* p) {
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (p[0] != '"' || p[1] != '"') return p;
        p += 2;
    }
}

// Reads one argument from p, dropping quotes; calls keep(char) for each byte
// kept and returns where the argument ends.
template <typename Keep>
const char* ReadArgument(const char* p, CharNextFunction charNext, Keep keep) {
    bool quoted = false;
    while (*p != '\0' && (quoted || !IsBlank(*p))) {
        if (*p == '"') {
            quoted = !quoted;
            ++p;
            continue;
        }
        // A double-byte character is kept whole, never split.
        const char* next = charNext(p);
        if (next == p) next = p + 1;
        for (; p < next && *p != '\0'; ++p) keep(*p);
    }
    return p;
}

struct IntegerReading {
    uint64_t value;
    bool negative;
    bool reachedEnd;  // the digits ran to the end of the text
};

int DigitValue(char c, bool hexadecimal) {
    if (c >= '0' && c <= '9') return c - '0';
    if (!hexadecimal) return -1;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// decimalLimit: no decimal digit is taken once the value exceeds it;
// hexBits: no hex digit once the value needs more than that many bits.
IntegerReading ReadInteger(const char* p, uint64_t decimalLimit, int hexBits) {
    IntegerReading reading{0, false, false};
    while (*p == ' ') ++p;
    if (*p == '-' || *p == '+') reading.negative = *p++ == '-';
    bool hexadecimal = false;
    if (*p == '$' || *p == 'x' || *p == 'X') {
        hexadecimal = true;
        ++p;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        hexadecimal = true;
        p += 2;
    }
    for (;; ++p) {
        const int digit = DigitValue(*p, hexadecimal);
        if (digit < 0) break;
        if (hexadecimal ? (reading.value >> hexBits) != 0 : reading.value > decimalLimit) break;
        reading.value = reading.value * (hexadecimal ? 16 : 10) + static_cast<uint64_t>(digit);
    }
    reading.reachedEnd = *p == '\0';
    return reading;
}

}  // namespace

std::size_t SplitArgument(const char* line, int n, CharNextFunction charNext, char* out, std::size_t outSize) {
    std::size_t length = 0;
    auto discard = [](char) {};
    const char* p = line;
    for (int skipped = 0; skipped < n && *p != '\0'; ++skipped) p = ReadArgument(SkipToArgument(p), charNext, discard);
    p = SkipToArgument(p);
    ReadArgument(p, charNext, [&](char c) {
        if (length + 1 < outSize) out[length] = c;
        ++length;
    });
    if (outSize > 0) out[length < outSize ? length : outSize - 1] = '\0';
    return length;
}

int32_t ArgumentInteger32(const char* text) {
    const IntegerReading reading = ReadInteger(text, 214748364, 28);
    // The value fits in 32 bits unsigned; negation and narrowing wrap.
    const auto value = static_cast<uint32_t>(reading.value);
    return static_cast<int32_t>(reading.negative && reading.reachedEnd ? 0u - value : value);
}

int64_t ArgumentInteger64(const char* text) {
    const IntegerReading reading = ReadInteger(text, 922337203685477580ull, 60);
    return static_cast<int64_t>(reading.negative ? 0ull - reading.value : reading.value);
}
