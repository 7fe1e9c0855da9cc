#pragma once
// What one filter is connected to: the reader it pulls parts from and the writer it sends to.
#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CInterFilterCommunicator final : public CComBase<IInterFilterCommunicator> {
public:
    // reader answers IXpsDocumentProvider; writer IXpsDocumentConsumer or IPrintWriteStream.
    static ComPtr<IInterFilterCommunicator> Create(IUnknown* reader, IUnknown* writer);

    // Each gives the caller a reference of its own; E_POINTER for a null out.
    HRESULT RequestReader(void** reader) override;
    HRESULT RequestWriter(void** writer) override;

private:
    CInterFilterCommunicator(IUnknown* reader, IUnknown* writer) : reader_(reader), writer_(writer) {}

    ComPtr<IUnknown> reader_;
    ComPtr<IUnknown> writer_;
};
