#pragma once
// Walks a snapshot of a page's resources, in the order they were added.
#include <string>
#include <utility>
#include <vector>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsParts.h"

using PageResourceList = std::vector<std::pair<std::string, ComPtr<IUnknown>>>;

class CPartIterator final : public CComBase<IXpsPartIterator> {
public:
    explicit CPartIterator(PageResourceList resources) : resources_(std::move(resources)) {}
    void Reset() override { index_ = 0; }
    // E_FAIL once done (there is no current part).
    HRESULT Current(std::string* uri, IUnknown** part) override;
    BOOL IsDone() override { return index_ >= resources_.size(); }
    void Next() override
    {
        if (index_ < resources_.size())
            ++index_;
    }

private:
    PageResourceList resources_;
    std::size_t index_ = 0;
};
