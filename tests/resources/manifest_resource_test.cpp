// The application manifest as compiled into both Windows builds: language
// neutral, the bytes of res/glimmerbox.manifest, well nested, per-monitor
// DPI aware and listing the supported Windows versions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver_files.h"
#include "xml_outline.h"

namespace {

constexpr uint16_t NeutralLanguage = 0;

// True for "{8-4-4-4-12}" lower-case hexadecimal, the form of the Ids.
bool IsBracedGuid(const std::string& text) {
    constexpr std::string_view Shape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != Shape.size()) return false;
    for (std::size_t i = 0; i < Shape.size(); ++i) {
        const char c = text[i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (Shape[i] == 'x' ? !hex : c != Shape[i]) return false;
    }
    return true;
}

// Indices of the elements with that name.
std::vector<std::size_t> ElementsNamed(const std::vector<XmlElement>& elements, std::string_view name) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i].name == name) found.push_back(i);
    return found;
}

// The names from the root down to the element, joined by '/'.
std::string ElementPath(const std::vector<XmlElement>& elements, std::size_t index) {
    std::string path = elements[index].name;
    for (int at = elements[index].parent; at >= 0; at = elements[static_cast<std::size_t>(at)].parent)
        path = elements[static_cast<std::size_t>(at)].name + "/" + path;
    return path;
}

// Checks the outline of the manifest text.
void ExpectManifestContent(const std::string& text) {
    EXPECT_EQ(text.rfind("<?xml", 0), 0u) << "no XML declaration first";
    std::vector<XmlElement> elements;
    std::string error;
    ASSERT_TRUE(OutlineXml(text, elements, error)) << error;
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements[0].name, "assembly");
    EXPECT_EQ(XmlAttribute(elements[0], "manifestVersion"), "1.0");

    const std::vector<std::size_t> dpiAware = ElementsNamed(elements, "dpiAware");
    ASSERT_EQ(dpiAware.size(), 1u);
    EXPECT_EQ(ElementPath(elements, dpiAware[0]), "assembly/application/windowsSettings/dpiAware");
    EXPECT_EQ(elements[dpiAware[0]].text, "true/pm");

    const std::vector<std::size_t> dpiAwareness = ElementsNamed(elements, "dpiAwareness");
    ASSERT_EQ(dpiAwareness.size(), 1u);
    EXPECT_EQ(ElementPath(elements, dpiAwareness[0]), "assembly/application/windowsSettings/dpiAwareness");
    // A list, most preferred first.
    const std::string& awareness = elements[dpiAwareness[0]].text;
    EXPECT_EQ(awareness.substr(0, awareness.find(',')), "PerMonitorV2") << awareness;

    const std::vector<std::size_t> supported = ElementsNamed(elements, "supportedOS");
    ASSERT_FALSE(supported.empty());
    for (const std::size_t index : supported) {
        EXPECT_EQ(ElementPath(elements, index), "assembly/compatibility/application/supportedOS");
        const std::string id = XmlAttribute(elements[index], "Id");
        EXPECT_TRUE(IsBracedGuid(id)) << "supportedOS Id \"" << id << "\"";
    }
}

TEST(ManifestResource, IsTheManifestFileWithDpiAwarenessAndSupportedVersions) {
    std::vector<uint8_t> source;
    ASSERT_TRUE(ReadWholeFile(GLIMMERBOX_MANIFEST_FILE, source)) << GLIMMERBOX_MANIFEST_FILE;
    for (const SaverBuild& build : SaverBuilds) {
        SCOPED_TRACE(build.preset);
        LoadedSaver saver;
        std::string error;
        ASSERT_TRUE(LoadSaver(build, saver, error)) << error;
        EXPECT_EQ(saver.image.machine, build.machine);
        EXPECT_EQ(saver.image.optionalMagic, build.optionalMagic);
        const std::vector<const PeResource*> manifests = ResourcesOfType(saver.image, RtManifest);
        ASSERT_EQ(manifests.size(), 1u);
        EXPECT_FALSE(manifests[0]->name.isString);
        EXPECT_EQ(manifests[0]->name.id, 1) << "1 is the manifest of an executable";
        EXPECT_EQ(manifests[0]->language, NeutralLanguage);
        const Bytes bytes = ResourceBytes(saver.file, *manifests[0]);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), source);
        ExpectManifestContent(std::string(bytes.begin(), bytes.end()));
    }
}

TEST(XmlOutline, ReadsNestingAttributesAndTextAndRejectsBadNesting) {
    std::vector<XmlElement> elements;
    std::string error;
    ASSERT_TRUE(OutlineXml("<?xml version=\"1.0\"?>\n<!-- c <x> -->\n<a k='v' j=\"w\"> hi <b/><c>t</c> </a>\n",
                           elements, error))
        << error;
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].name, "a");
    EXPECT_EQ(XmlAttribute(elements[0], "k"), "v");
    EXPECT_EQ(XmlAttribute(elements[0], "j"), "w");
    EXPECT_EQ(elements[0].text, "hi");
    EXPECT_EQ(elements[1].name, "b");
    EXPECT_EQ(elements[1].parent, 0);
    EXPECT_EQ(elements[2].text, "t");
    EXPECT_EQ(elements[2].parent, 0);

    for (const char* bad : {"<a><b></a></b>", "<a>", "<a/><b/>", "text<a/>", "<a k=v/>", "<a k='v' k='w'/>",
                            "<a><!-- open </a>", "<a", "", "<a/><?xml?>"}) {
        EXPECT_FALSE(OutlineXml(bad, elements, error)) << bad;
    }
}

}  // namespace
