// A plug-in for the runner's tests: one library whose class identifiers choose how its filter
// behaves, so that the runner meets filters that pass parts on, fail, or stop early.
#include <atomic>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PipelineFilter.h"
#include "tests/runner/TestFilterClasses.h"

namespace {

class CTestFilter final : public CComBase<IPrintPipelineFilter> {
public:
    explicit CTestFilter(TestFilterBehaviour behaviour) : behaviour_(behaviour) {}

    HRESULT InitializeFilter(IInterFilterCommunicator* communicator, IPrintPipelinePropertyBag*,
                             IPrintPipelineManagerControl* control) override
    {
        communicator_ = communicator;
        control_ = control;
        return S_OK;
    }

    HRESULT ShutdownOperation() override
    {
        Finish();
        return S_OK;
    }

    HRESULT StartOperation() override
    {
        ComPtr<IXpsDocumentProvider> reader;
        ComPtr<IXpsDocumentConsumer> writer;
        HRESULT hr = communicator_->RequestReader(reader.PutVoid());
        if (SUCCEEDED(hr))
            hr = communicator_->RequestWriter(writer.PutVoid());
        while (SUCCEEDED(hr) && !finished_) {
            ComPtr<IUnknown> part;
            hr = reader->GetXpsPart(part.Put());
            if (FAILED(hr) || !part)
                break;
            ComPtr<IFixedPage> page;
            if (SUCCEEDED(QueryTo(part.Get(), &page))) {
                if (behaviour_ == TestFilterBehaviour::kFailAtFirstPage) {
                    control_->RequestShutdown(E_INVALIDARG, nullptr);
                    hr = E_INVALIDARG;
                    break;
                }
                // Like a filter that reports nothing: it just ends, the rest of the job untaken.
                if (behaviour_ == TestFilterBehaviour::kQuitAtFirstPage)
                    break;
            }
            hr = writer->SendXpsUnknown(part.Get());
        }
        if (SUCCEEDED(hr) && behaviour_ != TestFilterBehaviour::kQuitAtFirstPage &&
            behaviour_ != TestFilterBehaviour::kNeverClose)
            writer->CloseSender();
        Finish();
        return S_OK;
    }

private:
    void Finish()
    {
        if (!finished_.exchange(true))
            control_->FilterFinished();
    }

    const TestFilterBehaviour behaviour_;
    ComPtr<IInterFilterCommunicator> communicator_;
    ComPtr<IPrintPipelineManagerControl> control_;
    std::atomic<bool> finished_{false};
};

} // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const TestFilterClass& c : kTestFilterClasses) {
        if (c.classId == classId) {
            ComPtr<CTestFilter> filter;
            filter.Attach(new CTestFilter(c.behaviour));
            return filter->QueryInterface(iid, out);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow()
{
    return ModuleLiveObjectCount() == 0 ? S_OK : S_FALSE;
}
