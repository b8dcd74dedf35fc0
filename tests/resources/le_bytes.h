// Bounds-checked little-endian reads from a byte buffer: every structure
// reader in these tests goes through them, so a bad offset is an error and
// never a read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

using Bytes = std::span<const uint8_t>;

// True when [offset, offset + length) lies inside a buffer of size bytes,
// without overflowing.
inline bool InRange(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

// Reads one byte at offset; false when it is outside bytes.
inline bool ReadU8(Bytes bytes, std::size_t offset, uint8_t& value) {
    if (!InRange(bytes.size(), offset, 1)) return false;
    value = bytes[offset];
    return true;
}

// Reads a 16-bit little-endian value at offset; false when outside bytes.
inline bool ReadU16(Bytes bytes, std::size_t offset, uint16_t& value) {
    if (!InRange(bytes.size(), offset, 2)) return false;
    value = static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    return true;
}

// Reads a 32-bit little-endian value at offset; false when outside bytes.
inline bool ReadU32(Bytes bytes, std::size_t offset, uint32_t& value) {
    if (!InRange(bytes.size(), offset, 4)) return false;
    value = 0;
    for (std::size_t i = 4; i-- > 0;) value = (value << 8) | bytes[offset + i];
    return true;
}

// Reads a signed 16-bit value (two's complement) at offset.
inline bool ReadI16(Bytes bytes, std::size_t offset, int16_t& value) {
    uint16_t raw = 0;
    if (!ReadU16(bytes, offset, raw)) return false;
    value = static_cast<int16_t>(raw);  // modular since C++20
    return true;
}

// Reads a signed 32-bit value (two's complement) at offset.
inline bool ReadI32(Bytes bytes, std::size_t offset, int32_t& value) {
    uint32_t raw = 0;
    if (!ReadU32(bytes, offset, raw)) return false;
    value = static_cast<int32_t>(raw);
    return true;
}

// Reads a zero-terminated UTF-16 string starting at offset; offset moves past
// the terminator. False when the terminator is not inside bytes.
inline bool ReadUtf16z(Bytes bytes, std::size_t& offset, std::u16string& text) {
    text.clear();
    for (std::size_t at = offset;; at += 2) {
        uint16_t unit = 0;
        if (!ReadU16(bytes, at, unit)) return false;
        if (unit == 0) {
            offset = at + 2;
            return true;
        }
        text.push_back(static_cast<char16_t>(unit));
    }
}

// The offset rounded up to a multiple of four.
inline std::size_t AlignTo4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

// ASCII text of a UTF-16 string for messages; other units become '?'.
inline std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (const char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
}
