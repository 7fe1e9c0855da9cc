#pragma once
// Event tracing. A deliverable registers its control GUID with a control callback; the trace
// controller enables it (request code 4, with a logger whose level and flags the callback reads)
// or disables it (request code 5). The controller here is the environment: XPSCHAIN_TRACE names
// the deliverables to trace, comma-separated ("layoutfilter,ripfilter"), or is "all"; their
// messages go to standard error. Hosts and tests may also enable and disable providers directly.
#include <cstdint>
#include <string_view>

#include "platform/com/Guid.h"
#include "platform/com/Hresult.h"

using TRACEHANDLE = std::uint64_t;
using UCHAR = std::uint8_t;
using USHORT = std::uint16_t;

enum WMIDPREQUESTCODE {
    WMI_GET_ALL_DATA = 0,
    WMI_GET_SINGLE_INSTANCE = 1,
    WMI_SET_SINGLE_INSTANCE = 2,
    WMI_SET_SINGLE_ITEM = 3,
    WMI_ENABLE_EVENTS = 4,
    WMI_DISABLE_EVENTS = 5,
    WMI_ENABLE_COLLECTION = 6,
    WMI_DISABLE_COLLECTION = 7,
};

// The buffer handed to the control callback with WMI_ENABLE_EVENTS; read it with GetTraceLoggerHandle.
struct WNODE_HEADER {
    std::uint32_t BufferSize = sizeof(WNODE_HEADER);
    TRACEHANDLE HistoricalContext = 0;  // the logger
    GUID Guid;                          // the control GUID
};

// Answers 0 when it handled the request, an error number (ERROR_INVALID_PARAMETER) otherwise.
using WMIDPREQUEST = ULONG (*)(WMIDPREQUESTCODE requestCode, void* context, ULONG* bufferSize, void* buffer);

struct TRACE_GUID_REGISTRATION {
    const GUID* Guid = nullptr;
    void* RegHandle = nullptr;
};

// Flags of TraceMessage: what each message carries besides its text.
inline constexpr ULONG TRACE_MESSAGE_SEQUENCE = 0x01;
inline constexpr ULONG TRACE_MESSAGE_GUID = 0x02;
inline constexpr ULONG TRACE_MESSAGE_COMPONENTID = 0x04;
inline constexpr ULONG TRACE_MESSAGE_TIMESTAMP = 0x08;
inline constexpr ULONG TRACE_MESSAGE_SYSTEMINFO = 0x20;

// The level and flags the environment's controller enables a provider with.
inline constexpr UCHAR kTraceLevelVerbose = 5;
inline constexpr ULONG kTraceAllFlags = 0xFFFFFFFFu;

// Registers a provider under controlGuid; providerName is the deliverable's name that
// XPSCHAIN_TRACE selects. When the environment selects it, the callback is called with
// WMI_ENABLE_EVENTS before this returns. Answers 0 or ERROR_INVALID_PARAMETER.
ULONG RegisterTraceGuidsW(WMIDPREQUEST callback, void* context, const GUID* controlGuid, ULONG guidCount,
                          TRACE_GUID_REGISTRATION* traceGuids, const char* providerName, TRACEHANDLE* registration);
// Ends a registration; the callback is not called again. 0, or ERROR_INVALID_PARAMETER for an unknown handle.
ULONG UnregisterTraceGuids(TRACEHANDLE registration);

// The logger named by an enable buffer; 0 for a null buffer.
TRACEHANDLE GetTraceLoggerHandle(void* buffer);
// Level and flags a logger was enabled with; 0 for an unknown or disabled logger.
UCHAR GetTraceEnableLevel(TRACEHANDLE logger);
ULONG GetTraceEnableFlags(TRACEHANDLE logger);

// Writes one message of the provider the logger belongs to on standard error. Nothing for an
// unknown or disabled logger. Answers 0 or ERROR_INVALID_PARAMETER.
ULONG TraceMessage(TRACEHANDLE logger, ULONG messageFlags, const GUID* messageGuid, USHORT messageNumber,
                   const char* format, ...) __attribute__((format(printf, 5, 6)));

// Controller side. Enable calls the provider's callback with WMI_ENABLE_EVENTS and a new logger,
// disable with WMI_DISABLE_EVENTS. ERROR_NOT_FOUND when no provider has that control GUID.
ULONG EnableTraceProvider(const GUID& controlGuid, UCHAR level, ULONG flags);
ULONG DisableTraceProvider(const GUID& controlGuid);

// Whether XPSCHAIN_TRACE selects providerName.
bool TraceEnvironmentSelects(std::string_view providerName);
