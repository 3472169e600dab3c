// Reads arbitrary bytes as XML and as activity data. A text that parses must serialise to a text
// that parses to the same serialisation; activity data that loads must come back unchanged from a
// second load and from putting its own script and description back, as the editor does on OK.
#include "hostparts/defaults/SharedData.h"
#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, const std::string& a, const std::string& b)
{
    std::fprintf(stderr, "%s\n--- first ---\n%s\n--- second ---\n%s\n", what, a.c_str(), b.c_str());
    std::abort();
}

void serialisationIsStable(std::string_view text)
{
    const zel::XmlNode document = zel::XmlNode::parse(text);
    if (document.isNone())
        return;
    const std::string once = document.xml();
    const zel::XmlNode again = zel::XmlNode::parse(once);
    if (again.isNone())
        fail("the serialised document does not parse", once, {});
    if (again.xml() != once)
        fail("a second serialisation differs", once, again.xml());
    if (again.text() != document.text())
        fail("the text content changed", document.text(), again.text());
}

// The text as a copied document serialises it: a copy writes an empty processing-instruction
// value as "<?x?>" where the parsed original gives "<?x ?>", the same XML either way.
std::string copied(const std::string& text)
{
    zel::XmlNode copy = zel::XmlNode::newDocument();
    for (const zel::XmlNode& child : zel::XmlNode::parse(text).children())
        copy.appendChild(child);
    return copy.xml();
}

void activityRoundTrip(std::string_view text)
{
    zel::SharedData first;
    try {
        first.LoadData(text);
    } catch (const zel::ErrorRecord&) {
        return; // not well-formed or without a root: refused, which is the documented answer
    }
    const std::string stored = first.DataNode().xml();
    zel::SharedData second;
    second.LoadData(stored);
    if (second.DataNode().xml() != stored)
        fail("a second load changed the data", stored, second.DataNode().xml());

    if (zel::XmlNode script = second.ScriptNode(); !script.isNone()) {
        second.SetScriptNode(script);
        if (copied(second.DataNode().xml()) != copied(stored))
            fail("putting the script back changed the data", stored, second.DataNode().xml());
    }
    // A description of blanks only is written as an empty element, by the rule for every value.
    std::string description = second.Description();
    if (description.find_first_not_of(' ') == std::string::npos)
        description.clear();
    second.SetDescription(description);
    if (second.Description() != description)
        fail("the description did not survive being put back", description, second.Description());
    zel::SharedData third;
    third.LoadData(second.DataNode().xml());
    if (third.Description() != description)
        fail("the description did not survive a save and load", description, third.Description());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    serialisationIsStable(text);
    activityRoundTrip(text);
    return 0;
}
