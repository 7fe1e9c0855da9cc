#include "host/runner/TicketStreamFactory.h"

#include "framework/XDException.h"
#include "host/package/MemoryReadStream.h"

ComPtr<IPrintReadStreamFactory> CTicketStreamFactory::Create(std::string ticketXml)
{
    ComPtr<IPrintReadStreamFactory> factory;
    factory.Attach(new CTicketStreamFactory(std::move(ticketXml)));
    return factory;
}

CTicketStreamFactory::CTicketStreamFactory(std::string ticketXml)
    : ticket_(std::make_shared<const std::string>(std::move(ticketXml)))
{
}

HRESULT CTicketStreamFactory::GetStream(IPrintReadStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    return GuardResult([&] {
        *stream = new CMemoryReadStream(ticket_);
        return S_OK;
    });
}
