#pragma once
// The deliverable's trace registration: one control block per deliverable, enabled and disabled by
// the trace controller through the control callback. Messages are sent only for the flags the
// controller enabled.
#include <atomic>

#include "platform/trace/Trace.h"

// Trace flags of the deliverables.
inline constexpr ULONG kTraceFlagError = 0x1;   // failures that end a job
inline constexpr ULONG kTraceFlagParts = 0x2;   // parts as they pass
inline constexpr ULONG kTraceFlagModule = 0x4;  // module attach and detach

// What the trace controller last sent; written by the control callback, read by every thread.
struct TraceControlBlock {
    GUID controlGuid;
    std::atomic<TRACEHANDLE> registration{0};
    std::atomic<TRACEHANDLE> logger{0};
    std::atomic<UCHAR> level{0};
    std::atomic<ULONG> flags{0};
};

// The control block of this deliverable.
TraceControlBlock& TraceControl();

// Code 4 (enable) takes logger, level and flags from the buffer; code 5 (disable) clears them;
// other codes answer ERROR_INVALID_PARAMETER. context is the control block.
ULONG TraceControlCallback(WMIDPREQUESTCODE requestCode, void* context, ULONG* bufferSize, void* buffer);

// Registers the deliverable under its control GUID and name; a registration held is ended first.
void TraceRegister(const GUID& controlGuid, const char* deliverableName);
void TraceUnregister();

// Whether the controller enabled flag.
bool TraceEnabled(ULONG flag);
// Sends one message under flag when it is enabled.
void TraceEvent(ULONG flag, const char* format, ...) __attribute__((format(printf, 2, 3)));
