#include "version_info.h"

#include <algorithm>

namespace {

constexpr std::size_t NodeHeaderBytes = 6;
// VS_VERSIONINFO, StringFileInfo, string table, string: four levels; some
// room beyond that, but a bound on the recursion.
constexpr int MaxDepth = 8;

// Reads the node at offset, whose parent ends at limit.
bool ReadNode(Bytes bytes, std::size_t offset, std::size_t limit, int depth, VersionNode& node, std::size_t& end,
              std::string& error) {
    if (depth > MaxDepth) {
        error = "version nodes nested more than " + std::to_string(MaxDepth) + " deep";
        return false;
    }
    uint16_t length = 0;
    if (!ReadU16(bytes, offset, length) || !ReadU16(bytes, offset + 2, node.valueLength) ||
        !ReadU16(bytes, offset + 4, node.type)) {
        error = "version node header at " + std::to_string(offset) + " runs past the end";
        return false;
    }
    if (length < NodeHeaderBytes || !InRange(limit, offset, length)) {
        error = "version node at " + std::to_string(offset) + " has length " + std::to_string(length) +
                ", outside its parent";
        return false;
    }
    end = offset + length;
    const Bytes nodeBytes = bytes.first(end);
    std::size_t at = offset + NodeHeaderBytes;
    if (!ReadUtf16z(nodeBytes, at, node.key)) {
        error = "version node key at " + std::to_string(offset) + " runs past the node";
        return false;
    }
    at = AlignTo4(at);
    const std::size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
    if (valueBytes > 0) {
        if (!InRange(end, at, valueBytes)) {
            error = "value of version node \"" + Narrow(node.key) + "\" runs past the node";
            return false;
        }
        node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + valueBytes));
        at = AlignTo4(at + valueBytes);
    }
    while (at < end) {
        VersionNode child;
        std::size_t childEnd = 0;
        if (!ReadNode(bytes, at, end, depth + 1, child, childEnd, error)) return false;
        node.children.push_back(std::move(child));
        at = AlignTo4(childEnd);
    }
    return true;
}

}  // namespace

bool ReadVersionInfo(Bytes bytes, VersionNode& root, std::string& error) {
    root = VersionNode{};
    std::size_t end = 0;
    return ReadNode(bytes, 0, bytes.size(), 0, root, end, error);
}

const VersionNode* FindVersionChild(const VersionNode& node, std::u16string_view key) {
    for (const VersionNode& child : node.children)
        if (child.key == key) return &child;
    return nullptr;
}

std::u16string VersionText(const VersionNode& node) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const auto unit = static_cast<char16_t>(node.value[i] | (node.value[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

bool ReadFixedFileInfo(const VersionNode& root, FixedFileInfo& info) {
    if (root.value.size() != FixedFileInfoBytes) return false;
    const Bytes value(root.value);
    uint32_t* const fields[] = {&info.signature,
                                &info.structVersion,
                                &info.fileVersionMs,
                                &info.fileVersionLs,
                                &info.productVersionMs,
                                &info.productVersionLs,
                                &info.flagsMask,
                                &info.flags,
                                &info.os,
                                &info.type,
                                &info.subtype,
                                &info.dateMs,
                                &info.dateLs};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        if (!ReadU32(value, i * 4, *fields[i])) return false;
    return true;
}
