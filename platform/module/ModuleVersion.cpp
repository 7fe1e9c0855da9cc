#include "platform/module/ModuleVersion.h"

HRESULT GetModuleVersionInfo(HMODULE module, ModuleVersionInfo* info)
{
    if (!info)
        return E_POINTER;
    const auto answer = reinterpret_cast<VersionInfoFunction>(GetProcAddress(module, kVersionInfoExport));
    const ModuleVersionInfo* version = answer ? answer() : nullptr;
    if (!version)
        return ResultNotFound;
    *info = *version;
    return S_OK;
}
