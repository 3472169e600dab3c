#include "platform/error/ErrorRecord.h"

#include "platform/error/ErrorLog.h"

#include <new>

namespace zel {

ErrorRecord currentErrorRecord()
{
    try {
        throw;
    } catch (const ErrorRecord& record) {
        return record;
    } catch (const std::bad_alloc&) {
        return ErrorRecord(ErrorNumber::OutOfMemory, "Out of memory");
    } catch (const std::exception& e) {
        return ErrorRecord(ErrorNumber::InternalError, e.what());
    } catch (...) {
        return ErrorRecord(ErrorNumber::Unspecified, "Unspecified error");
    }
}

void raise(int32_t number, std::string description, std::string source)
{
    throw ErrorRecord(number, std::move(description), std::move(source));
}

void raiseObjectNotSet(std::string_view what)
{
    std::string description = "Object variable not set";
    if (!what.empty())
        description.append(": ").append(what);
    raise(ErrorNumber::ObjectNotSet, std::move(description));
}

void rethrowWithTag(std::string_view tag)
{
    ErrorRecord record = currentErrorRecord();
    record.Source.append(tag);
    throw record;
}

void logAndRethrow(std::string_view logTag, std::string_view raiseTag)
{
    ErrorRecord record = currentErrorRecord();
    ErrorLog::appendOrWarn(record, logTag);
    record.Source.append(raiseTag);
    throw record;
}

void logAndAbsorb(std::string_view logTag)
{
    ErrorLog::appendOrWarn(currentErrorRecord(), logTag);
}

} // namespace zel
