#include "common/General.h"
#include "common/Globals.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorLog.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/Toolkit.h"

namespace zel::General {

void ErrorReport(std::string description, std::string source, const ErrorRecord& error, std::string& extra,
                 std::string& title, bool& show)
{
    auto log = com::ClassRegistry::instance().createAs<ILogComponent>(kClsidLogComponent);
    if (title.empty() && toolkit().editorCaption)
        title = toolkit().editorCaption();
    const std::string& context = globals().gstrContextText;
    log->Report(0, description, title, source, error, 0, context, 1000000.0, 0, 0, extra, 0);
    log->Report(0, description, title, source, error, 1, context, 1000000.0, 0, 0, extra, 0);
    if (show) {
        const std::string text =
            "Error: " + std::to_string(error.Number) + "\rDescription: " + description + "\rSource: " + source;
        uiServices().messageBox(text, title, MessageIcon::Critical, MessageButtons::Ok);
    }
}

void ReportCurrentError(std::string_view raiseTag, std::string title)
{
    const ErrorRecord error = currentErrorRecord();
    std::string extra;
    bool show = true;
    const std::string source = error.Source + std::string(raiseTag);
    try {
        ErrorReport(error.Description, source, error, extra, title, show);
    } catch (...) {
        // The report ends the error in a window handler: when the log component itself fails,
        // the user is still told about the original error and the window keeps running.
        ErrorLog::appendOrWarn(currentErrorRecord(), " General.ErrorReport() ");
        uiServices().messageBox("Error: " + std::to_string(error.Number) + "\rDescription: " + error.Description +
                                    "\rSource: " + source,
                                title, MessageIcon::Critical, MessageButtons::Ok);
    }
}

void ShowAndLogCurrentError(std::string_view caption, std::string_view logTag)
{
    const ErrorRecord error = currentErrorRecord();
    uiServices().messageBox("Error.\r\nDesc: " + error.Description + "\r\nSource: " + error.Source,
                            std::string(caption), MessageIcon::Critical, MessageButtons::Ok);
    ErrorLog::appendOrWarn(error, logTag);
}

} // namespace zel::General
