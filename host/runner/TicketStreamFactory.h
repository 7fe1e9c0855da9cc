#pragma once
// The "PerUserPrintTicket" property: every GetStream gives a fresh reader over the user's ticket.
#include <memory>
#include <string>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PrintStreams.h"

class CTicketStreamFactory final : public CComBase<IPrintReadStreamFactory> {
public:
    static ComPtr<IPrintReadStreamFactory> Create(std::string ticketXml);

    // A new stream positioned at the start of the ticket.
    HRESULT GetStream(IPrintReadStream** stream) override;

private:
    explicit CTicketStreamFactory(std::string ticketXml);

    std::shared_ptr<const std::string> ticket_;
};
