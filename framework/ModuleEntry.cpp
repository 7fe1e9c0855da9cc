#include "framework/ModuleEntry.h"

#include "framework/TraceControl.h"

namespace {
constinit HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() { return moduleInstance; }

BOOL ModuleDllMain(const DeliverableIdentity& identity, HINSTANCE instance, ULONG reason)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        moduleInstance = instance;
        TraceRegister(identity.traceControlGuid, identity.name);
        TraceEvent(kTraceFlagModule, "%s attached from %s", identity.name, GetModuleFileNameW(instance).c_str());
        break;
    case DLL_PROCESS_DETACH:
        TraceEvent(kTraceFlagModule, "%s detached", identity.name);
        TraceUnregister();
        break;
    default:
        break;
    }
    return 1;
}

HRESULT ModuleGetClassObject(const DeliverableIdentity& identity, REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != identity.classId)
        return CLASS_E_CLASSNOTAVAILABLE;
    return GuardResult([&] {
        IPrintPipelineFilter* filter = identity.makeFilter();
        const HRESULT hr = filter->QueryInterface(iid, out);
        filter->Release();
        return hr;
    });
}

HRESULT ModuleCanUnloadNow() { return ModuleLiveObjectCount() == 0 ? S_OK : S_FALSE; }
