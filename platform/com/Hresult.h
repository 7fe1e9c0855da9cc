#pragma once
// Result codes with the values of the COM platform, so that codes read in logs and traces
// mean what a Windows print developer expects.
#include <cstdint>
#include <string>

using HRESULT = std::int32_t;
using BOOL = std::int32_t;
using ULONG = std::uint32_t;

constexpr HRESULT MakeHresult(std::uint32_t value) { return static_cast<HRESULT>(value); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHresult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHresult(0x80004005);
inline constexpr HRESULT E_PENDING = MakeHresult(0x8000000A);
inline constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111);

// Win32 error numbers that travel as HRESULTs.
inline constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::uint32_t ERROR_PRINT_CANCELLED = 63;
inline constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr std::uint32_t ERROR_MOD_NOT_FOUND = 126;
inline constexpr std::uint32_t ERROR_PROC_NOT_FOUND = 127;
inline constexpr std::uint32_t ERROR_INVALID_DATA = 13;
inline constexpr std::uint32_t ERROR_NOT_FOUND = 1168;
inline constexpr std::uint32_t ERROR_INVALID_PRINTER_NAME = 1801;

constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error)
{
    return static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error)
                                            : MakeHresult((error & 0xFFFFu) | 0x80070000u);
}

// The framework's own results.
inline constexpr HRESULT ResultNotAvailable = E_PENDING;                    // a needed object is not there yet
inline constexpr HRESULT ResultNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);  // ticket element or part ticket absent
inline constexpr HRESULT ResultDefaulted = MakeHresult(0x00040002);         // success, some defaults kept

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// "0x80070490 (not found)": the form used in messages to the user.
std::string FormatHresult(HRESULT hr);
