#pragma once
// The version information a deliverable carries: its role, platform and file version, readable by
// the host through one exported C function.
#include "platform/com/Hresult.h"
#include "platform/module/Module.h"

struct ModuleVersionInfo {
    const char* fileDescription = nullptr;  // "xpschain layout filter (x86_64 Linux)"
    const char* fileVersion = nullptr;      // "1.2.0.0"
    const char* productName = nullptr;      // "xpschain"
    const char* internalName = nullptr;     // "layoutfilter"
};

// The export that answers a module's version information.
inline constexpr char kVersionInfoExport[] = "XpsChainGetVersionInfo";
using VersionInfoFunction = const ModuleVersionInfo* (*)();

// The version information of a loaded module; ResultNotFound when it carries none.
HRESULT GetModuleVersionInfo(HMODULE module, ModuleVersionInfo* info);
