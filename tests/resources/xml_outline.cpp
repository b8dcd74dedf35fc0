#include "xml_outline.h"

namespace {

// True for the blanks XML allows between tokens.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True for characters of an element or attribute name.
bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
           c == '-' || c == '.';
}

// The text without blanks at either end.
std::string Trimmed(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

// Reads a name at at; false when there is none.
bool ReadName(std::string_view tag, std::size_t& at, std::string& name) {
    const std::size_t start = at;
    while (at < tag.size() && IsNameChar(tag[at])) ++at;
    name = std::string(tag.substr(start, at - start));
    return !name.empty() && !(name[0] >= '0' && name[0] <= '9') && name[0] != '-' && name[0] != '.';
}

// Parses the inside of an opening tag, "name a="v" b='w'", into element.
bool ReadOpeningTag(std::string_view tag, XmlElement& element, std::string& error) {
    std::size_t at = 0;
    if (!ReadName(tag, at, element.name)) {
        error = "bad element name in <" + std::string(tag) + ">";
        return false;
    }
    while (true) {
        const std::size_t before = at;
        while (at < tag.size() && IsBlank(tag[at])) ++at;
        if (at == tag.size()) return true;
        std::string name;
        if (at == before || !ReadName(tag, at, name)) {
            error = "bad attribute in <" + std::string(tag) + ">";
            return false;
        }
        while (at < tag.size() && IsBlank(tag[at])) ++at;
        if (at == tag.size() || tag[at] != '=') {
            error = "attribute " + name + " has no value in <" + element.name + ">";
            return false;
        }
        ++at;
        while (at < tag.size() && IsBlank(tag[at])) ++at;
        if (at == tag.size() || (tag[at] != '"' && tag[at] != '\'')) {
            error = "attribute " + name + " is not quoted in <" + element.name + ">";
            return false;
        }
        const char quote = tag[at++];
        const std::size_t close = tag.find(quote, at);
        if (close == std::string_view::npos) {
            error = "attribute " + name + " is not closed in <" + element.name + ">";
            return false;
        }
        bool repeated = false;
        for (const auto& attribute : element.attributes) repeated = repeated || attribute.first == name;
        if (repeated) {
            error = "attribute " + name + " repeated in <" + element.name + ">";
            return false;
        }
        element.attributes.emplace_back(name, std::string(tag.substr(at, close - at)));
        at = close + 1;
    }
}

}  // namespace

bool OutlineXml(std::string_view text, std::vector<XmlElement>& elements, std::string& error) {
    elements.clear();
    std::vector<int> open;
    std::vector<std::string> texts;  // raw direct text of each element
    int roots = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lt = text.find('<', at);
        const std::string_view between = text.substr(at, (lt == std::string_view::npos ? text.size() : lt) - at);
        if (!Trimmed(between).empty()) {
            if (open.empty()) {
                error = "text outside the root element: " + Trimmed(between);
                return false;
            }
            texts[static_cast<std::size_t>(open.back())] += between;
        }
        if (lt == std::string_view::npos) break;
        if (text.substr(lt, 4) == "<!--") {
            const std::size_t end = text.find("-->", lt + 4);
            if (end == std::string_view::npos) {
                error = "unterminated comment";
                return false;
            }
            at = end + 3;
            continue;
        }
        const std::size_t gt = text.find('>', lt);
        if (gt == std::string_view::npos) {
            error = "unterminated tag";
            return false;
        }
        std::string_view tag = text.substr(lt + 1, gt - lt - 1);
        at = gt + 1;
        if (!tag.empty() && tag.front() == '?') {
            if (tag.size() < 2 || tag.back() != '?' || !elements.empty()) {
                error = "bad or misplaced declaration <" + std::string(tag) + ">";
                return false;
            }
            continue;
        }
        if (!tag.empty() && tag.front() == '/') {
            const std::string name = Trimmed(tag.substr(1));
            if (open.empty() || elements[static_cast<std::size_t>(open.back())].name != name) {
                error = "closing tag </" + name + "> does not match";
                return false;
            }
            open.pop_back();
            continue;
        }
        const bool selfClosing = !tag.empty() && tag.back() == '/';
        if (selfClosing) tag.remove_suffix(1);
        XmlElement element;
        if (!ReadOpeningTag(tag, element, error)) return false;
        if (open.empty()) {
            if (++roots > 1) {
                error = "more than one root element";
                return false;
            }
        } else {
            element.parent = open.back();
        }
        elements.push_back(std::move(element));
        texts.emplace_back();
        if (!selfClosing) open.push_back(static_cast<int>(elements.size() - 1));
    }
    if (!open.empty()) {
        error = "element <" + elements[static_cast<std::size_t>(open.back())].name + "> is not closed";
        return false;
    }
    if (roots != 1) {
        error = "no root element";
        return false;
    }
    for (std::size_t i = 0; i < elements.size(); ++i) elements[i].text = Trimmed(texts[i]);
    return true;
}

std::string XmlAttribute(const XmlElement& element, std::string_view name) {
    for (const auto& [key, value] : element.attributes)
        if (key == name) return value;
    return {};
}
