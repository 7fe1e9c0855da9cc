#include "host/runner/InterFilterCommunicator.h"

ComPtr<IInterFilterCommunicator> CInterFilterCommunicator::Create(IUnknown* reader, IUnknown* writer)
{
    ComPtr<IInterFilterCommunicator> communicator;
    communicator.Attach(new CInterFilterCommunicator(reader, writer));
    return communicator;
}

HRESULT CInterFilterCommunicator::RequestReader(void** reader)
{
    if (!reader)
        return E_POINTER;
    *reader = nullptr;
    return reader_ ? reader_->QueryInterface(IUnknown::kIid, reader) : E_FAIL;
}

HRESULT CInterFilterCommunicator::RequestWriter(void** writer)
{
    if (!writer)
        return E_POINTER;
    *writer = nullptr;
    return writer_ ? writer_->QueryInterface(IUnknown::kIid, writer) : E_FAIL;
}
