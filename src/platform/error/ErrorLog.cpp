#include "platform/error/ErrorLog.h"

#include "platform/error/Clock.h"
#include "platform/module/Module.h"
#include "platform/module/UserFiles.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace zel::ErrorLog {

std::filesystem::path filePath()
{
    return UserFiles::stateFile(Module::baseName() + ".Log");
}

std::string entryText(const ErrorRecord& record, std::string_view logTag)
{
    std::string text;
    text.append(" -- ERROR --\r\n");
    text.append("\tDATE   : ").append(Clock::generalDateNow()).append("\r\n");
    text.append("\tNUMBER : ").append(std::to_string(record.Number)).append("\r\n");
    text.append("\tSOURCE : ").append(record.Source).append(logTag).append("\r\n");
    text.append("\tDESCRIPTION: & ").append(record.Description).append("\r\n");
    text.append(std::string(60, '-')).append("\r\n");
    return text;
}

void append(const ErrorRecord& record, std::string_view logTag)
{
    const std::filesystem::path path = filePath();
    const std::string text = entryText(record, logTag);
    // The file is opened and closed around each entry, as the log is shared with other
    // components of the host that append to it too.
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "ab"), &std::fclose);
    if (!file)
        raise(ErrorNumber::PathFileAccess, "Path/File access error: cannot open the error log " + path.string());
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() || std::fflush(file.get()) != 0)
        raise(ErrorNumber::PathFileAccess, "Path/File access error: cannot write the error log " + path.string());
    if (std::fclose(file.release()) != 0)
        raise(ErrorNumber::PathFileAccess, "Path/File access error: cannot close the error log " + path.string());
}

void appendOrWarn(const ErrorRecord& record, std::string_view logTag) noexcept
{
    try {
        append(record, logTag);
    } catch (...) {
        // The log is a witness of the error, not part of it: its failure is told on standard
        // error and the original error goes on to the caller unchanged.
        try {
            std::cerr << "zelscript: " << currentErrorRecord().Description << "; lost entry:\n"
                      << entryText(record, logTag);
        } catch (...) {
        }
    }
}

} // namespace zel::ErrorLog
