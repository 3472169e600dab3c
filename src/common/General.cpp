#include "common/General.h"

#include "common/Globals.h"
#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"

#include <algorithm>
#include <filesystem>

namespace zel::General {

XmlNode GetNewNode(int nodeType, std::string& name)
{
    try {
        name = XmlFncs::trimSpaces(name);
        switch (nodeType) {
        case kNodeElement:
            return XmlNode::newElement(name);
        case kNodeCData:
            return XmlNode::newCData("");
        case kNodeText: {
            XmlNode holder = XmlNode::newElement("text");
            return holder.appendText("").cloneDeep();
        }
        default:
            raise(ErrorNumber::InvalidArgument,
                  "Invalid procedure call or argument: node type " + std::to_string(nodeType) + " is not supported");
        }
    } catch (...) {
        rethrowWithTag(" General.GetNewNode() ");
    }
}

XmlNode GetPattern(std::string_view name, std::string& folder)
{
    try {
        const std::string path = GetValidPath(folder + "/" + std::string(name) + ".xml");
        XmlParseError error;
        XmlNode document = XmlNode::load(NativePath(path), &error);
        if (document.isNone())
            raise(error.number, "DOM : " + error.reason);
        XmlNode root = document.documentElement();
        if (root.isNone())
            raise(ErrorNumber::Unspecified, "DOM : the pattern " + path + " has no root element");
        return root;
    } catch (...) {
        rethrowWithTag(" General.GetPattern() ");
    }
}

std::string GetValidPath(std::string_view path)
{
    try {
        std::string result(path);
        if (result.find(':') != std::string::npos || result.starts_with("\\\\"))
            std::replace(result.begin(), result.end(), '/', '\\');
        else
            std::replace(result.begin(), result.end(), '\\', '/');
        return result;
    } catch (...) {
        rethrowWithTag(" General.GetValidPath() ");
    }
}

std::string NativePath(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

bool CheckLangInDisk(std::string_view languageId, std::string_view folder)
{
    try {
        // The name is built as written, folder and id joined by one separator, so the check and
        // the language-text component always look at the same file.
        std::error_code ec;
        const std::string file = NativePath(std::string(folder) + "/" + std::string(languageId) + ".lng");
        return std::filesystem::is_regular_file(file, ec);
    } catch (...) {
        rethrowWithTag(" General.CheckLangInDisk() ");
    }
}

int32_t SkinColor(std::string_view operation)
{
    ISkin* skin = globals().gobjSkin;
    if (skin == nullptr)
        return -1;
    try {
        int32_t value = -1;
        if (!skin->Invoke(operation, value))
            return -1;
        return value;
    } catch (...) {
        // A skin that fails gives no colour: the controls keep theirs.
        return -1;
    }
}

int32_t GetFormBackColor()
{
    return SkinColor("GetFormBackColor");
}
int32_t GetTabBackColor()
{
    return SkinColor("GetTabBackColor");
}
int32_t GetColorFont()
{
    return SkinColor("GetColorFont");
}
int32_t GetButtonBackColor()
{
    return SkinColor("GetButtonBackColor");
}
int32_t GetToolbarBackColor()
{
    return SkinColor("GetToolbarBackColor");
}
int32_t GetToolbarColorFont()
{
    return SkinColor("GetToolbarColorFont");
}

} // namespace zel::General
