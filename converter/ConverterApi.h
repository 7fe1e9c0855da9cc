#pragma once
// The device converter interface: the entry points of the two converter libraries (PRNCORE,
// XPSFEED), the calls they make back into the RIP filter, and the records that pass between them.
// The RIP filter and every converter (the reference one in converter/, or a vendor's) build
// against this one header; docs/converter.md describes the calls, their order and the records.
//
// Handles are pointer-sized and opaque; integers are 32-bit; results of the converter are 32-bit
// booleans (nonzero = accepted) unless stated otherwise. Everything is called on one thread.
#include <cstddef>
#include <cstdint>

#include "platform/printticket/DevMode.h"

struct ConverterJobInfo;

extern "C" {

// ---- Calls from the converter into the RIP filter ----

// Delivers converter output: a byte stream of ConverterOutputRecords, possibly split across calls
// (a payload may be spread over several calls, a header never is). Returns an HRESULT.
using WriteConverterOutputFn = std::int32_t (*)(const void* buffer, std::uint32_t count, void* context);
// Stores 0 (go on) in *stop and returns 1.
using ConverterPollCallbackFn = std::int32_t (*)(std::uint8_t* stop);

// The caller's allocator for the results of the resource callbacks; release accepts null.
using ConverterAllocateFn = void* (*)(std::uint32_t size);
using ConverterReleaseFn = void (*)(void* block);
// Resource callbacks, exported by the RIP filter and registered through XpsSetConvResAPI.
// page is the page context given to XpsSetConvResAPI; partName is the resource's absolute part name.
// On success (1) the caller owns *data; on failure (0) *data is null and *size 0.
using GetXPSFontDataFn = std::int32_t (*)(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page,
                                          const char* partName, void* ignored1, void* ignored2, void** data,
                                          std::uint32_t* size);
using GetXPSICCDataFn = GetXPSFontDataFn;
// *data receives a ConverterImage block whose size follows from its header.
using GetXPSImageDataFn = std::int32_t (*)(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page,
                                           const char* partName, void* ignored1, void* ignored2, void** data);

// ---- PRNCORE entry points, in calling order ----

// outputName is "driverout", encoderPath the UTF-8 path of the encoder library (may be empty);
// the converter delivers all its output through write(…, context). Null means failure.
using PrnCtrlOpenFn = void* (*)(const char* outputName, std::int32_t reserved, const char* encoderPath,
                                WriteConverterOutputFn write, void* context, const ConverterJobInfo* job,
                                ConverterPollCallbackFn poll);
// The conversion handle; null means failure.
using PrnCtrlXPS2SPDLOpenFn = void* (*)(ConverterPollCallbackFn poll, void* control);
// The feed handle used for every XPSFEED call; null means failure.
using GetConvCntFromSPDLCntFn = void* (*)(void* conversion);
// Once per page before its markup; size counts the public and private part of the DEVMODE.
using DevModeSetFn = std::int32_t (*)(const DEVMODE* devMode, std::uint32_t size, void* control);
using PrnCtrlXPS2SPDLCloseFn = std::int32_t (*)(void* conversion);
// Last call of a job; output delivered during it is still written.
using PrnCtrlCloseFn = std::int32_t (*)(void* control);

// ---- XPSFEED entry points ----

using XpsSetConvResAPIFn = std::int32_t (*)(void* feed, void* page, GetXPSFontDataFn font, GetXPSICCDataFn icc,
                                           GetXPSImageDataFn image, void* reserved1, void* reserved2);
// The feed handle and nineteen page values: the RIP filter passes 1, 1, width, height, 0, 0, width,
// height, resolution X, resolution Y, rotation code, 0, 4, 100, height, height, plane code,
// OutputPlanes, OutputBitsPixel (lengths in microns, resolutions in dpi).
using XpsSetPageDeviceFn = std::int32_t (*)(void* feed, std::uint8_t one, std::int32_t v1, std::int32_t width,
                                            std::int32_t height, std::int32_t v4, std::int32_t v5,
                                            std::int32_t width2, std::int32_t height2, std::int32_t resolutionX,
                                            std::int32_t resolutionY, std::int32_t rotationCode, std::int32_t v11,
                                            std::int32_t v12, std::int32_t v13, std::int32_t height3,
                                            std::int32_t height4, std::int32_t planeCode, std::int32_t planes,
                                            std::int32_t bitsPerPixel);
// Names and values are 8-bit text (one byte per Latin-1 character, zero-terminated); the value of
// the attribute "UnicodeString" is zero-terminated UTF-16 (char16_t) instead.
using XPSStartElemFn = std::int32_t (*)(const char* name, void* feed);
using XPSReadAttFn = std::int32_t (*)(const char* name, const void* value, void* feed);
using XPSEndElemFn = std::int32_t (*)(const char* name, void* feed);
// Ends the element started last, which had no children.
using XPSEndCurElemFn = std::int32_t (*)(void* feed);

} // extern "C"

// The module names the RIP filter loads from the driver directory, and the entry point names.
inline constexpr char kPrnCoreModuleName[] = "PRNCORE.DLL";
inline constexpr char kXpsFeedModuleName[] = "XPSFEED.DLL";

// The job record given to PrnCtrlOpen: 1548 bytes, little-endian, texts UTF-16 zero-terminated.
struct ConverterJobInfo {
    std::uint32_t size;            //    0: 1548
    char16_t printerName[256];     //    4: at most 255 characters
    char16_t documentName[256];    //  516: the print job's document name, same limit
    std::uint32_t jobId;           // 1028
    std::uint32_t one;             // 1032: 1
    char16_t reserved[256];        // 1036: sent empty
};
static_assert(sizeof(ConverterJobInfo) == 1548);
static_assert(offsetof(ConverterJobInfo, documentName) == 516 && offsetof(ConverterJobInfo, jobId) == 1028 &&
              offsetof(ConverterJobInfo, one) == 1032 && offsetof(ConverterJobInfo, reserved) == 1036);
inline constexpr std::uint32_t kConverterJobInfoSize = 1548;

// The header of one unit of converter output; the payload follows it.
inline constexpr std::uint32_t kConverterRecordHeaderSize = 8;
enum ConverterRecordType : std::uint8_t {
    ConverterRecord_DeviceData = 0,       // bytes for the printer
    ConverterRecord_ManualDuplexFile = 1, // UTF-16 path of a file for manual duplex
};
// byte 0 type, bytes 1-3 unused, bytes 4-7 payload length (little-endian).
struct ConverterOutputRecordHeader {
    std::uint8_t type = 0;
    std::uint32_t length = 0;
};
inline void WriteConverterRecordHeader(const ConverterOutputRecordHeader& header, std::uint8_t* bytes)
{
    bytes[0] = header.type;
    bytes[1] = bytes[2] = bytes[3] = 0;
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<std::uint8_t>(header.length >> (8 * i));
}
inline ConverterOutputRecordHeader ReadConverterRecordHeader(const std::uint8_t* bytes)
{
    ConverterOutputRecordHeader header;
    header.type = bytes[0];
    for (int i = 0; i < 4; ++i)
        header.length |= std::uint32_t(bytes[4 + i]) << (8 * i);
    return header;
}
