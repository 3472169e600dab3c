#pragma once

#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <cstdint>
#include <string>
#include <string_view>

// Shared helpers of every window and class: node creation, pattern files, path spelling, error
// reports, language files on disk and the skin's colours.
namespace zel::General {

// Node types of GetNewNode.
inline constexpr int kNodeElement = 1;
inline constexpr int kNodeText = 3;
inline constexpr int kNodeCData = 4;

// A new, detached node of nodeType (1 element, 3 text, 4 CDATA) named name. name is trimmed of
// spaces and the trimmed text written back. Raises 5 for another node type.
XmlNode GetNewNode(int nodeType, std::string& name);

// The root element of the file "<folder>/<name>.xml". Raises the parser's error number with
// "DOM : " followed by the parser's reason (nothing more) when the file is missing or not
// well-formed.
XmlNode GetPattern(std::string_view name, std::string& folder);

// path with its separators normalised: with a drive colon or a leading "\\" every "/" becomes
// "\"; otherwise every "\" becomes "/".
std::string GetValidPath(std::string_view path);

// The file-system path to open for a path normalised by GetValidPath: on this system "\" is
// never a separator in a real path, so any that remain are turned into "/".
std::string NativePath(std::string_view path);

// True when the language file "<folder>/<languageId>.lng" exists.
bool CheckLangInDisk(std::string_view languageId, std::string_view folder);

// Reports an error to the log component (twice, flag 0 then 1) and, when show is true, in a
// message box titled title. An empty title becomes the editor window's caption
// (toolkit().editorCaption).
void ErrorReport(std::string description, std::string source, const ErrorRecord& error, std::string& extra,
                 std::string& title, bool& show);

// Ends the exception in flight in a window handler that reports through the log component:
// ErrorReport with the record's description, its source followed by raiseTag, the empty extra
// text, title, and a message box. Must be called inside a catch.
void ReportCurrentError(std::string_view raiseTag, std::string title);

// Ends the exception in flight in a window handler that shows and logs it: a critical message box "Error." / "Desc: " /
// "Source: " titled caption, then a log entry with logTag. Must be called inside a catch.
void ShowAndLogCurrentError(std::string_view caption, std::string_view logTag);

// The skin's colours (RGB as 0x00BBGGRR); -1 when there is no skin, the skin has no such
// operation, or it fails.
int32_t GetFormBackColor();
int32_t GetTabBackColor();
int32_t GetColorFont();
int32_t GetButtonBackColor();
int32_t GetToolbarBackColor();
int32_t GetToolbarColorFont();

// Calls a skin operation by name, as the six getters do.
int32_t SkinColor(std::string_view operation);

} // namespace zel::General
