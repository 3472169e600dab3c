#pragma once

#include "platform/xml/XmlNode.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zel {

// The registry browser's settings in UddiSettings.xml (see SettingsPath): the known registry
// addresses with one default, the trace switch and file of the registry client, and the row limit
// of a search. An object loads the file once, on its first operation, and works on its own copy;
// every setter writes the whole document back at once. The root element's name is never looked
// at; paths are relative to it. Every operation raises its failures with
// " UDDISettings.<Operation>() " appended to the error's source.
class UDDISettings
{
public:
    // The settings file a default object reads: "UddiSettings.xml" in the component's data folder,
    // or, for an installed component whose folder the user cannot write, the user's own copy once
    // one was saved (UserFiles::settingsFileToRead). The one place that decides where it is read.
    static std::filesystem::path SettingsPath();
    // The file a default object saves to: SettingsPath() beside a component that can write its
    // folder, else the user's own copy, first seeded from the installed default
    // (UserFiles::settingsFileToWrite).
    static std::filesystem::path SettingsSavePath();

    // An object over the settings file by the rule above, or over another file of the same layout,
    // which it then reads and writes.
    explicit UDDISettings(std::filesystem::path file = {}) : m_file(std::move(file)) {}

    // Loads the file unless it is loaded; a missing or malformed file leaves the object without a
    // root (no error here; the next step of any other operation then raises 91).
    void RootLoad();
    // The serialised Servers element with its children; "" when there is none.
    std::string ServersNodeGet();
    // Registers pstrServerAddress (compared in lower case with the registered ones) unless it is
    // there, then saves, added or not. Raises 91 without a Servers element.
    void ServerAdd(const std::string& pstrServerAddress);
    // Writes the loaded document to the settings file: a new file beside it, flushed, then renamed
    // over it, so a failed save leaves the old file whole. Raises 91 when nothing is loaded and
    // 75 when the file cannot be written.
    void RootSave();
    // Marks pstrServerAddress (compared in lower case) as the default and every other entry not,
    // then saves. An unknown address leaves every entry not default.
    void ServerSetDefault(const std::string& pstrServerAddress);
    // Trace/State as a 16-bit number, non-zero meaning on. Raises 13 when it is missing or not a
    // number and 6 when it does not fit.
    bool TraceStateGet();
    void TraceStateSet(bool pblnTrace);
    std::string TracePathGet();
    void TracePathSet(const std::string& pstrTracePath);
    // The address of the first entry marked "1"; else the last entry's; "" without entries.
    // Raises 91 without a Servers element.
    std::string ServerGetDefault();
    // Stores the text unchanged and saves.
    void SearchMaxRowsSet(const std::string& pintSearchMaxRow);
    // Search/MaxRows as a 16-bit number; raises 13 or 6 as TraceStateGet does.
    int16_t SearchMaxRowsGet();

private:
    XmlNode requireRoot();
    XmlNode requireServers();
    void writeValue(std::string pstrPath, const std::string& value);

    std::filesystem::path m_file;
    XmlNode m_root;
};

namespace UddiText {

// text converted to a 16-bit signed number the way the settings read numbers: blanks around it
// are allowed, a fraction is rounded half to even. Raises 13 for an empty or non-numeric text and
// 6 for a number out of range.
int16_t toInt16(std::string_view text);

} // namespace UddiText

} // namespace zel
