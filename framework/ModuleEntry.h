#pragma once
// What every deliverable has at module level: the entry point (attach and detach with the trace
// registration), the class object entry that makes the filter, the unload query and the version
// information. A deliverable states its identity once with XPSCHAIN_FILTER_MODULE in its module
// entry file; everything else of the plug-in stays hidden.
#include "framework/ComBase.h"
#include "framework/XDException.h"
#include "platform/module/Module.h"
#include "platform/module/ModuleVersion.h"
#include "platform/pipeline/PipelineFilter.h"

// Marks a function the plug-in exports to its host.
#define XPSCHAIN_EXPORT extern "C" __attribute__((visibility("default")))

#if defined(__x86_64__)
#define XPSCHAIN_PLATFORM_NAME "x86_64 Linux"
#elif defined(__aarch64__)
#define XPSCHAIN_PLATFORM_NAME "aarch64 Linux"
#else
#define XPSCHAIN_PLATFORM_NAME "Linux"
#endif
#define XPSCHAIN_FILE_VERSION "1.2.0.0"

struct DeliverableIdentity {
    const char* name;          // "layoutfilter": also what XPSCHAIN_TRACE names
    CLSID classId;             // the one class DllGetClassObject makes
    GUID traceControlGuid;
    // Makes the filter object with a count of 1; may raise CXDException or std::bad_alloc.
    IPrintPipelineFilter* (*makeFilter)();
};

// The module's own handle, stored at process attach; null before.
HINSTANCE ModuleInstance();

// Process attach stores instance and registers the trace control GUID, detach unregisters it;
// TRUE for every reason.
BOOL ModuleDllMain(const DeliverableIdentity& identity, HINSTANCE instance, ULONG reason);
// Null out: E_POINTER; otherwise *out is cleared first. Another class id:
// CLASS_E_CLASSNOTAVAILABLE. Else the filter as the interface asked for (the caller holds the only
// reference), or the failure of QueryInterface with no object left alive.
HRESULT ModuleGetClassObject(const DeliverableIdentity& identity, REFCLSID classId, REFIID iid, void** out);
// S_FALSE while an object of the module lives, S_OK at none.
HRESULT ModuleCanUnloadNow();

// The module entry of a deliverable: its identity and its exports. role names the filter in the
// version information ("layout" gives "xpschain layout filter (x86_64 Linux)"); name, role and
// the two GUIDs are string literals.
#define XPSCHAIN_FILTER_MODULE(FilterClass, name, role, classIdText, traceGuidText)                              \
    namespace {                                                                                                 \
    IPrintPipelineFilter* MakeDeliverableFilter() { return new FilterClass(); }                                  \
    constexpr DeliverableIdentity kDeliverable{name, GuidLiteral(classIdText), GuidLiteral(traceGuidText),       \
                                               &MakeDeliverableFilter};                                          \
    constexpr ModuleVersionInfo kDeliverableVersion{"xpschain " role " filter (" XPSCHAIN_PLATFORM_NAME ")",      \
                                                    XPSCHAIN_FILE_VERSION, "xpschain", name};                    \
    }                                                                                                           \
    XPSCHAIN_EXPORT BOOL DllMain(HINSTANCE instance, ULONG reason, void*)                                       \
    {                                                                                                           \
        return ModuleDllMain(kDeliverable, instance, reason);                                                   \
    }                                                                                                           \
    XPSCHAIN_EXPORT HRESULT DllGetClassObject(REFCLSID classId, REFIID iid, void** out)                          \
    {                                                                                                           \
        return ModuleGetClassObject(kDeliverable, classId, iid, out);                                           \
    }                                                                                                           \
    XPSCHAIN_EXPORT HRESULT DllCanUnloadNow() { return ModuleCanUnloadNow(); }                                  \
    XPSCHAIN_EXPORT const ModuleVersionInfo* XpsChainGetVersionInfo() { return &kDeliverableVersion; }          \
    /* The loader's load and unload of the library stand for process attach and detach. */                    \
    __attribute__((constructor)) static void AttachDeliverable()                                                \
    {                                                                                                           \
        DllMain(ModuleHandleFromAddress(reinterpret_cast<const void*>(&DllMain)), DLL_PROCESS_ATTACH, nullptr); \
    }                                                                                                           \
    __attribute__((destructor)) static void DetachDeliverable() { DllMain(ModuleInstance(), DLL_PROCESS_DETACH, nullptr); }
