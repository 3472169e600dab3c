#include "uddi/UDDISettings.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/module/UserFiles.h"
#include "platform/text/Text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zel {
namespace {

constexpr const char* kFileName = "UddiSettings.xml";

// Writes text to file through a temporary file in the same folder: the old file is replaced
// only once the new one is complete on disk.
void replaceFile(const std::filesystem::path& file, const std::string& text)
{
    const std::string target = file.string();
    const std::string temp = target + ".tmp" + std::to_string(getpid());
    auto fail = [&](const std::string& what, int error) {
        unlink(temp.c_str());
        raise(ErrorNumber::PathFileAccess, what + ": " + std::strerror(error));
    };
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        raise(ErrorNumber::PathFileAccess, "Cannot write " + temp + ": " + std::strerror(errno));
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            close(fd);
            fail("Cannot write " + temp, error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        fail("Cannot flush " + temp, error);
    }
    if (close(fd) != 0)
        fail("Cannot close " + temp, errno);
    if (rename(temp.c_str(), target.c_str()) != 0)
        fail("Cannot replace " + target, errno);
}

} // namespace

std::filesystem::path UDDISettings::SettingsPath()
{
    return UserFiles::settingsFileToRead(kFileName);
}

std::filesystem::path UDDISettings::SettingsSavePath()
{
    return UserFiles::settingsFileToWrite(kFileName);
}

XmlNode UDDISettings::requireRoot()
{
    RootLoad();
    if (m_root.isNone())
        raiseObjectNotSet("the UDDI settings (" + (m_file.empty() ? SettingsPath() : m_file).string() +
                          " is missing or not XML)");
    return m_root;
}

XmlNode UDDISettings::requireServers()
{
    XmlNode servers = requireRoot().selectSingleNode("Servers");
    if (servers.isNone())
        raiseObjectNotSet("the Servers element of the UDDI settings");
    return servers;
}

void UDDISettings::writeValue(std::string pstrPath, const std::string& value)
{
    XmlNode root = requireRoot();
    XmlFncs::xmlNodeXPathSubNodesCreate(root, pstrPath);
    XmlNode node = root.selectSingleNode(pstrPath);
    XmlFncs::xmlAddCDATA(node, value);
    RootSave();
}

void UDDISettings::RootLoad()
{
    try {
        if (!m_root.isNone())
            return;
        m_root = XmlFncs::xmlDomLoad((m_file.empty() ? SettingsPath() : m_file).string());
    } catch (...) {
        rethrowWithTag(" UDDISettings.RootLoad() ");
    }
}

std::string UDDISettings::ServersNodeGet()
{
    try {
        return requireRoot().selectSingleNode("Servers").xml();
    } catch (...) {
        rethrowWithTag(" UDDISettings.ServersNodeGet() ");
    }
}

void UDDISettings::ServerAdd(const std::string& pstrServerAddress)
{
    try {
        XmlNode servers = requireServers();
        const std::string wanted = Text::lowerAscii(pstrServerAddress);
        bool found = false;
        for (const XmlNode& server : servers.selectNodes("Server")) {
            if (Text::lowerAscii(XmlFncs::xmlNodeValueGet(server, "Address")) == wanted) {
                found = true;
                break;
            }
        }
        if (!found) {
            XmlNode server = XmlFncs::xmlMakeAndAddElement(servers, "Server", "");
            XmlFncs::xmlMakeAndAddElement(server, "Address", pstrServerAddress);
            XmlFncs::xmlMakeAndAddElement(server, "Default", "0");
        }
        RootSave();
    } catch (...) {
        rethrowWithTag(" UDDISettings.ServerAdd() ");
    }
}

void UDDISettings::RootSave()
{
    try {
        if (m_root.isNone())
            raiseObjectNotSet("the UDDI settings document");
        replaceFile(m_file.empty() ? SettingsSavePath() : m_file,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + m_root.xml() + "\n");
        RootLoad();
    } catch (...) {
        rethrowWithTag(" UDDISettings.RootSave() ");
    }
}

void UDDISettings::ServerSetDefault(const std::string& pstrServerAddress)
{
    try {
        XmlNode servers = requireServers();
        const std::string wanted = Text::lowerAscii(pstrServerAddress);
        for (const XmlNode& server : servers.children()) {
            XmlNode flag = server.child("Default");
            if (flag.isNone())
                continue;
            XmlFncs::xmlAddCDATA(flag, "0");
            if (Text::lowerAscii(XmlFncs::xmlNodeValueGet(server, "Address")) == wanted)
                XmlFncs::xmlAddCDATA(flag, "1");
        }
        RootSave();
    } catch (...) {
        rethrowWithTag(" UDDISettings.ServerSetDefault() ");
    }
}

bool UDDISettings::TraceStateGet()
{
    try {
        return UddiText::toInt16(XmlFncs::xmlNodeValueGet(requireRoot(), "Trace/State")) != 0;
    } catch (...) {
        rethrowWithTag(" UDDISettings.TraceStateGet() ");
    }
}

void UDDISettings::TraceStateSet(bool pblnTrace)
{
    try {
        writeValue("Trace/State", pblnTrace ? "1" : "0");
    } catch (...) {
        rethrowWithTag(" UDDISettings.TraceStateSet() ");
    }
}

std::string UDDISettings::TracePathGet()
{
    try {
        return XmlFncs::xmlNodeValueGet(requireRoot(), "Trace/Path");
    } catch (...) {
        rethrowWithTag(" UDDISettings.TracePathGet() ");
    }
}

void UDDISettings::TracePathSet(const std::string& pstrTracePath)
{
    try {
        writeValue("Trace/Path", pstrTracePath);
    } catch (...) {
        rethrowWithTag(" UDDISettings.TracePathSet() ");
    }
}

std::string UDDISettings::ServerGetDefault()
{
    try {
        XmlNode servers = XmlFncs::xmlMakeNode(ServersNodeGet());
        if (servers.isNone())
            raiseObjectNotSet("the Servers element of the UDDI settings");
        std::string address;
        for (const XmlNode& server : servers.children()) {
            if (server.type() != XmlNodeType::Element)
                continue;
            address = XmlFncs::xmlNodeValueGet(server, "Address");
            if (XmlFncs::xmlNodeValueGet(server, "Default") == "1")
                break;
        }
        return address;
    } catch (...) {
        rethrowWithTag(" UDDISettings.ServerGetDefault() ");
    }
}

void UDDISettings::SearchMaxRowsSet(const std::string& pintSearchMaxRow)
{
    try {
        writeValue("Search/MaxRows", pintSearchMaxRow);
    } catch (...) {
        rethrowWithTag(" UDDISettings.SearchMaxRowsSet() ");
    }
}

int16_t UDDISettings::SearchMaxRowsGet()
{
    try {
        return UddiText::toInt16(XmlFncs::xmlNodeValueGet(requireRoot(), "Search/MaxRows"));
    } catch (...) {
        rethrowWithTag(" UDDISettings.SearchMaxRowsGet() ");
    }
}

namespace UddiText {

int16_t toInt16(std::string_view text)
{
    const std::string trimmed = XmlFncs::trimSpaces(text);
    const char* begin = trimmed.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = trimmed.empty() ? 0.0 : std::strtod(begin, &end);
    const bool decimal = trimmed.find_first_of("xXpPnN") == std::string::npos; // no hex, inf or nan
    if (trimmed.empty() || end != begin + trimmed.size() || !decimal)
        raise(ErrorNumber::TypeMismatch, "Type mismatch: '" + std::string(text) + "' is not a number");
    const double rounded = std::nearbyint(value); // the default rounding mode is half to even
    if (errno == ERANGE || rounded < -32768.0 || rounded > 32767.0)
        raise(ErrorNumber::Overflow, "Overflow: " + trimmed + " does not fit a 16-bit number");
    return static_cast<int16_t>(rounded);
}

} // namespace UddiText

} // namespace zel
