#include "host/runner/FilterPlugin.h"

#include "platform/module/ModuleVersion.h"

CFilterPlugin::~CFilterPlugin()
{
    // A library whose objects still live (a part someone holds) stays loaded: unloading it would
    // pull the code from under them. One without DllCanUnloadNow was refused before it made any.
    if (module_ && (!canUnloadNow_ || canUnloadNow_() == S_OK))
        FreeLibrary(module_);
}

bool CFilterPlugin::Load(const FilterEntry& entry, const std::string& directory, std::string* error)
{
    entry_ = entry;
    path_ = (directory.empty() ? std::string(".") : directory) + "/" + entry.library;
    module_ = LoadLibraryW(path_);
    if (!module_) {
        *error = "filter '" + entry.name + "': cannot load " + path_ + ": " + ModuleLastError();
        return false;
    }
    getClassObject_ = reinterpret_cast<GetClassObjectFunction>(GetProcAddress(module_, "DllGetClassObject"));
    canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(GetProcAddress(module_, "DllCanUnloadNow"));
    if (!getClassObject_ || !canUnloadNow_) {
        *error = "filter '" + entry.name + "': " + path_ + " is not a filter plug-in (no DllGetClassObject or DllCanUnloadNow)";
        return false;
    }
    return true;
}

bool CFilterPlugin::CreateFilter(ComPtr<IPrintPipelineFilter>* filter, std::string* error) const
{
    const HRESULT hr = getClassObject_(entry_.clsid, IPrintPipelineFilter::kIid, filter->PutVoid());
    if (hr == CLASS_E_CLASSNOTAVAILABLE) {
        *error = "filter '" + entry_.name + "': " + path_ + " does not provide the class " + FormatGuid(entry_.clsid);
        return false;
    }
    if (FAILED(hr) || !*filter) {
        *error = "filter '" + entry_.name + "': " + path_ + " could not make its filter: " + FormatHresult(FAILED(hr) ? hr : E_POINTER);
        return false;
    }
    return true;
}

std::string CFilterPlugin::Version() const
{
    ModuleVersionInfo info;
    if (!module_ || FAILED(GetModuleVersionInfo(module_, &info)))
        return {};
    std::string text = info.fileVersion ? info.fileVersion : "";
    if (info.fileDescription)
        text += (text.empty() ? "" : " ") + std::string(info.fileDescription);
    return text;
}
