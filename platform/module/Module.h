#pragma once
// Modules: the shared libraries of the process. A module handle names one library file and stays
// valid for the life of the process (its library may be unloaded meanwhile). Windows module names
// map to library files: "PRNCORE.DLL" is "libprncore.so" in the same directory.
#include <string>
#include <string_view>

#include "platform/com/Hresult.h"

using HMODULE = struct ModuleRecord*;
using HINSTANCE = HMODULE;
using FARPROC = void*;

// The reasons a module entry point is called for.
inline constexpr ULONG DLL_PROCESS_DETACH = 0;
inline constexpr ULONG DLL_PROCESS_ATTACH = 1;
inline constexpr ULONG DLL_THREAD_ATTACH = 2;
inline constexpr ULONG DLL_THREAD_DETACH = 3;

// The library file for a module name: lower case, ".dll" stripped, "lib" before and ".so" after
// ("PRNCORE.DLL" and "prncore" give "libprncore.so"). A name already ending in ".so" or carrying
// a ".so." version stays as it is.
std::string ModuleFileNameFor(std::string_view moduleName);

// The module holding address (a function or object of it); null when no loaded library holds it.
HMODULE ModuleHandleFromAddress(const void* address);

// Loads the library at path, whose last component is mapped by ModuleFileNameFor (backslashes
// count as separators). A path without a directory is searched as the dynamic loader does.
// Null on failure; ModuleLastError() then tells why.
HMODULE LoadLibraryW(std::string_view path);
// An exported symbol of a loaded module; null on failure (ModuleLastError() tells why).
FARPROC GetProcAddress(HMODULE module, const char* name);
// Gives up one load of LoadLibraryW. FALSE for a handle that holds no load.
BOOL FreeLibrary(HMODULE module);
// The file of the module; the program's own file for a null handle. Empty when unknown.
std::string GetModuleFileNameW(HMODULE module);

// The dynamic loader's text for the calling thread's last failed module call.
std::string ModuleLastError();
