#pragma once
// The pipeline's property bag, filled by a test. Safe to read from several threads.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "framework/ComBase.h"
#include "platform/pipeline/PipelineFilter.h"

class CTestPropertyBag final : public CComBase<IPrintPipelinePropertyBag> {
public:
    ~CTestPropertyBag() override;

    // A copy of value; replaces a property of that name.
    HRESULT AddProperty(const char* name, const VARIANT* value) override;
    // ResultNotFound for a property never added.
    HRESULT GetProperty(const char* name, VARIANT* value) override;
    BOOL DeleteProperty(const char* name) override;

    void SetString(const std::string& name, std::string_view utf8);
    void SetInteger(const std::string& name, std::int32_t value);
    void SetUnknown(const std::string& name, IUnknown* value);

private:
    std::mutex lock;
    std::map<std::string, std::unique_ptr<VARIANT>> properties;
};
