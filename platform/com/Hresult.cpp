#include "platform/com/Hresult.h"

#include <cstdio>

namespace {

const char* HresultText(HRESULT hr)
{
    switch (hr) {
    case S_OK: return "success";
    case S_FALSE: return "success, nothing done";
    case E_NOTIMPL: return "not implemented";
    case E_NOINTERFACE: return "interface not supported";
    case E_POINTER: return "null pointer";
    case E_FAIL: return "failure";
    case E_PENDING: return "not available yet";
    case E_ACCESSDENIED: return "access denied";
    case E_OUTOFMEMORY: return "out of memory";
    case E_INVALIDARG: return "invalid argument";
    case CLASS_E_CLASSNOTAVAILABLE: return "class not available";
    case ResultNotFound: return "not found";
    case ResultDefaulted: return "success, defaults kept";
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): return "file not found";
    case HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED): return "print job cancelled";
    case HRESULT_FROM_WIN32(ERROR_INVALID_DATA): return "invalid data";
    case HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND): return "module not found";
    case HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND): return "entry point not found";
    case HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME): return "unknown printer";
    default: return nullptr;
    }
}

} // namespace

std::string FormatHresult(HRESULT hr)
{
    char buffer[64];
    const char* text = HresultText(hr);
    if (text)
        std::snprintf(buffer, sizeof buffer, "0x%08X (%s)", static_cast<unsigned>(hr), text);
    else
        std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hr));
    return buffer;
}
