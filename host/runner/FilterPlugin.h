#pragma once
// One filter plug-in: its library, loaded from the plug-in directory, and the filter objects its
// class object entry makes.
#include <string>

#include "host/runner/PipelineConfig.h"
#include "platform/com/ComPtr.h"
#include "platform/module/Module.h"
#include "platform/pipeline/PipelineFilter.h"

class CFilterPlugin {
public:
    CFilterPlugin() = default;
    // Unloads the library unless it still has live objects.
    ~CFilterPlugin();
    CFilterPlugin(const CFilterPlugin&) = delete;
    CFilterPlugin& operator=(const CFilterPlugin&) = delete;

    // Loads the entry's library from directory and finds its entry points; false with a one-line
    // *error naming the filter and the library.
    bool Load(const FilterEntry& entry, const std::string& directory, std::string* error);
    // A new filter object of the entry's class; false with *error when the library does not make
    // that class (an unknown filter) or fails to.
    bool CreateFilter(ComPtr<IPrintPipelineFilter>* filter, std::string* error) const;
    // The version text the library declares, e.g. "1.2.0.0 layout filter (x64)"; empty when unknown.
    std::string Version() const;

private:
    FilterEntry entry_;
    std::string path_;
    HMODULE module_ = nullptr;
    using GetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFunction = HRESULT (*)();
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};
