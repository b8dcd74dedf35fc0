// Reading a compiled VERSIONINFO resource as the tree it is: each node a
// wLength / wValueLength / wType header, a UTF-16 key, a value and children,
// each part starting on a 4-byte boundary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "le_bytes.h"

inline constexpr uint32_t FixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t FixedFileInfoBytes = 52;

struct VersionNode {
    std::u16string key;
    uint16_t type = 0;         // 1 text, 0 binary
    uint16_t valueLength = 0;  // as stored: UTF-16 units for text, bytes for binary
    std::vector<uint8_t> value;
    std::vector<VersionNode> children;
};

struct FixedFileInfo {
    uint32_t signature = 0;
    uint32_t structVersion = 0;
    uint32_t fileVersionMs = 0;
    uint32_t fileVersionLs = 0;
    uint32_t productVersionMs = 0;
    uint32_t productVersionLs = 0;
    uint32_t flagsMask = 0;
    uint32_t flags = 0;
    uint32_t os = 0;
    uint32_t type = 0;
    uint32_t subtype = 0;
    uint32_t dateMs = 0;
    uint32_t dateLs = 0;
};

// Reads the root node and everything in it. False with error set when a
// length is too small, runs past its parent or the nesting is absurdly deep.
bool ReadVersionInfo(Bytes bytes, VersionNode& root, std::string& error);
// The child with that key, or null.
const VersionNode* FindVersionChild(const VersionNode& node, std::u16string_view key);
// A text node's value up to its terminating zero.
std::u16string VersionText(const VersionNode& node);
// The root's value as VS_FIXEDFILEINFO; false when it is not 52 bytes.
bool ReadFixedFileInfo(const VersionNode& root, FixedFileInfo& info);
