// Enough of XML to check a manifest's shape: elements with attributes and
// direct text, properly nested under one root, with declarations and
// comments skipped. No entities, CDATA or DTDs.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // the text directly inside, blanks trimmed at both ends
    int parent = -1;   // index of the enclosing element; -1 for the root
};

// Lists the elements in document order. False with error set when a tag is
// malformed, a closing tag does not match, text lies outside the root or
// there is not exactly one root.
bool OutlineXml(std::string_view text, std::vector<XmlElement>& elements, std::string& error);
// The value of an attribute, or empty when absent.
std::string XmlAttribute(const XmlElement& element, std::string_view name);
