#pragma once
// The pipeline's property bag: named values the host sets before the job and the filters read
// (and the RIP filter deletes) from their own threads.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PipelineFilter.h"

class CPropertyBag final : public CComBase<IPrintPipelinePropertyBag> {
public:
    static ComPtr<CPropertyBag> Create();

    // Replaces any value of that name with a copy of *value; E_POINTER for null arguments.
    HRESULT AddProperty(const char* name, const VARIANT* value) override;
    // A copy of the value (a BSTR duplicated, an interface with a reference of its own);
    // ResultNotFound when the property is absent.
    HRESULT GetProperty(const char* name, VARIANT* value) override;
    // TRUE when a value was removed.
    BOOL DeleteProperty(const char* name) override;

private:
    CPropertyBag() = default;
    ~CPropertyBag() override;

    std::mutex lock_;
    std::map<std::string, std::unique_ptr<CVariant>> values_;
};
