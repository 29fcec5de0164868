#include "platform/dshow/error_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dshow {
namespace {

struct TErrorEntry {
    HRESULT hr;
    const char* text;
};

constexpr TErrorEntry kErrorTexts[] = {
    {S_OK, "No error."},
    {S_FALSE, "The operation completed with a false result."},
    {E_NOTIMPL, "Not implemented."},
    {E_NOINTERFACE, "No such interface supported."},
    {E_POINTER, "Invalid pointer."},
    {E_ABORT, "Operation aborted."},
    {E_FAIL, "Unspecified error."},
    {E_UNEXPECTED, "Catastrophic failure."},
    {E_ACCESSDENIED, "Access is denied."},
    {E_HANDLE, "The handle is invalid."},
    {E_OUTOFMEMORY, "Not enough memory is available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)."},
    {CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class."},
    {REGDB_E_CLASSNOTREG, "Class not registered."},
    {CO_E_DLLNOTFOUND, "The server library could not be found."},
    {CO_E_ERRORINDLL, "The server library has errors."},
    {VFW_S_NO_MORE_ITEMS, "The end of the list has been reached."},
    {VFW_S_DUPLICATE_NAME, "An attempt to add a filter with a duplicate name succeeded with a modified name."},
    {VFW_S_STATE_INTERMEDIATE, "The state transition has not completed."},
    {VFW_E_INVALIDMEDIATYPE, "An invalid media type was specified."},
    {VFW_E_INVALIDSUBTYPE, "An invalid media subtype was specified."},
    {VFW_E_NEED_OWNER, "This object can only be created as an aggregated object."},
    {VFW_E_ENUM_OUT_OF_SYNC, "The enumerator has become invalid."},
    {VFW_E_ALREADY_CONNECTED, "At least one of the pins involved in the operation is already connected."},
    {VFW_E_FILTER_ACTIVE, "This operation cannot be performed because the filter is active."},
    {VFW_E_NO_TYPES, "One of the specified pins supports no media types."},
    {VFW_E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins."},
    {VFW_E_INVALID_DIRECTION, "Two pins of the same direction cannot be connected together."},
    {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
    {VFW_E_NO_ALLOCATOR, "No sample buffer allocator is available."},
    {VFW_E_RUNTIME_ERROR, "A run-time error occurred."},
    {VFW_E_BUFFER_NOTSET, "No buffer space has been set."},
    {VFW_E_BUFFER_OVERFLOW, "The buffer is not big enough."},
    {VFW_E_BADALIGN, "An invalid alignment was specified."},
    {VFW_E_ALREADY_COMMITTED, "Cannot change allocated memory while the filter is active."},
    {VFW_E_BUFFERS_OUTSTANDING, "One or more buffers are still active."},
    {VFW_E_NOT_COMMITTED, "Cannot allocate a sample when the allocator is not active."},
    {VFW_E_SIZENOTSET, "Cannot allocate memory because no size has been set."},
    {VFW_E_NO_CLOCK, "Cannot lock for synchronization because no clock has been defined."},
    {VFW_E_NO_SINK, "Quality messages could not be sent because no quality sink has been defined."},
    {VFW_E_NO_INTERFACE, "A required interface has not been implemented."},
    {VFW_E_NOT_FOUND, "An object or name was not found."},
    {VFW_E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection."},
    {VFW_E_CANNOT_RENDER, "No combination of filters could be found to render the stream."},
    {VFW_E_CHANGING_FORMAT, "Could not change formats dynamically."},
    {VFW_E_STATE_CHANGED, "The state changed while waiting to process the sample."},
    {VFW_E_NOT_STOPPED, "The operation could not be performed because the filter is not stopped."},
    {VFW_E_NOT_PAUSED, "The operation could not be performed because the filter is not paused."},
    {VFW_E_NOT_RUNNING, "The operation could not be performed because the filter is not running."},
    {VFW_E_WRONG_STATE, "The operation could not be performed because the filter is in the wrong state."},
    {VFW_E_START_TIME_AFTER_END, "The sample start time is after the sample end time."},
    {VFW_E_TYPE_NOT_ACCEPTED, "The specified media type is not acceptable."},
    {VFW_E_SAMPLE_REJECTED, "A sample was rejected."},
    {VFW_E_SAMPLE_REJECTED_EOS, "A sample was rejected because the end of the stream was reached."},
    {VFW_E_DUPLICATE_NAME, "A filter with the same name is already in the graph."},
    {VFW_E_TIMEOUT, "A time-out has expired."},
    {VFW_E_SAMPLE_TIME_NOT_SET, "The sample has no time stamps."},
    {VFW_E_MEDIA_TIME_NOT_SET, "The sample has no media time stamps."},
    {VFW_E_NOT_IN_GRAPH, "The operation cannot be performed because the filter is not in the filter graph."},
    {VFW_E_NO_TRANSPORT, "Pins cannot connect because they don't support the same transport."},
};

}  // namespace

std::string ErrorText(HRESULT hr) {
    const auto* end = std::end(kErrorTexts);
    const auto* it = std::find_if(std::begin(kErrorTexts), end, [hr](const TErrorEntry& e) { return e.hr == hr; });
    if (it != end) return it->text;
    char text[40];
    std::snprintf(text, sizeof text, "Unknown error 0x%08X", static_cast<uint32_t>(hr));
    return text;
}

}  // namespace dshow

DWORD AMGetErrorText(HRESULT hr, char* buffer, DWORD maxLength) {
    if (!buffer || maxLength == 0) return 0;
    const std::string text = dshow::ErrorText(hr);
    const size_t n = std::min<size_t>(text.size(), maxLength - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}
