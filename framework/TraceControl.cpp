#include "framework/TraceControl.h"

#include <cstdarg>
#include <cstdio>

namespace {
// Constant-initialised, so that the module's attach code may use it before any other static.
constinit TraceControlBlock controlBlock;

// Sequence, GUID, time stamp and system information with every message.
constexpr ULONG kMessageFlags = TRACE_MESSAGE_SEQUENCE | TRACE_MESSAGE_GUID | TRACE_MESSAGE_TIMESTAMP | TRACE_MESSAGE_SYSTEMINFO;
}

TraceControlBlock& TraceControl() { return controlBlock; }

ULONG TraceControlCallback(WMIDPREQUESTCODE requestCode, void* context, ULONG*, void* buffer)
{
    auto* block = static_cast<TraceControlBlock*>(context);
    if (!block)
        return ERROR_INVALID_PARAMETER;
    switch (requestCode) {
    case WMI_ENABLE_EVENTS: {
        const TRACEHANDLE logger = GetTraceLoggerHandle(buffer);
        block->level = GetTraceEnableLevel(logger);
        block->flags = GetTraceEnableFlags(logger);
        block->logger = logger;
        return 0;
    }
    case WMI_DISABLE_EVENTS:
        block->logger = 0;
        block->level = 0;
        block->flags = 0;
        return 0;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

void TraceRegister(const GUID& controlGuid, const char* deliverableName)
{
    TraceUnregister();
    controlBlock.controlGuid = controlGuid;
    TRACE_GUID_REGISTRATION traceGuid{&controlBlock.controlGuid, nullptr};
    TRACEHANDLE registration = 0;
    if (RegisterTraceGuidsW(&TraceControlCallback, &controlBlock, &controlBlock.controlGuid, 1, &traceGuid,
                            deliverableName, &registration) == 0)
        controlBlock.registration = registration;
}

void TraceUnregister()
{
    if (const TRACEHANDLE registration = controlBlock.registration.exchange(0))
        UnregisterTraceGuids(registration);
    controlBlock.logger = 0;
    controlBlock.level = 0;
    controlBlock.flags = 0;
}

bool TraceEnabled(ULONG flag) { return controlBlock.logger != 0 && (controlBlock.flags & flag) != 0; }

void TraceEvent(ULONG flag, const char* format, ...)
{
    if (!TraceEnabled(flag))
        return;
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    TraceMessage(controlBlock.logger, kMessageFlags, &controlBlock.controlGuid, static_cast<USHORT>(flag), "%s", text);
}
