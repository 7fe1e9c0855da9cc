#pragma once
// The inter-filter communicator: hands out the reader and writer a test chose.
#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CTestCommunicator final : public CComBase<IInterFilterCommunicator> {
public:
    CTestCommunicator(IUnknown* readerObject, IUnknown* writerObject) : reader(readerObject), writer(writerObject) {}

    // The reader or writer with a reference for the caller; E_FAIL when the test gave none.
    HRESULT RequestReader(void** out) override { return Hand(reader, out); }
    HRESULT RequestWriter(void** out) override { return Hand(writer, out); }

    ComPtr<IUnknown> reader;
    ComPtr<IUnknown> writer;

private:
    static HRESULT Hand(const ComPtr<IUnknown>& object, void** out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!object)
            return E_FAIL;
        object->AddRef();
        *out = object.Get();
        return S_OK;
    }
};
