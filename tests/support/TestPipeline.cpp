#include "tests/support/TestPipeline.h"

#include "platform/printticket/PrintTicketProvider.h"
#include "tests/support/TestStreams.h"

std::string DefaultUserTicket()
{
    std::string ticket;
    PTGetDefaultPrintTicket(kDefaultPrinterName, &ticket);
    return ticket;
}

TestPipeline::TestPipeline(std::vector<ComPtr<IUnknown>> parts)
    : provider(MakeTestObject<CTestProvider>(std::move(parts))),
      consumer(MakeTestObject<CTestConsumer>()),
      propertyBag(MakeTestObject<CTestPropertyBag>()),
      managerControl(MakeTestObject<CTestManagerControl>()),
      communicator(MakeTestObject<CTestCommunicator>(static_cast<IUnknown*>(provider.Get()),
                                                     static_cast<IUnknown*>(consumer.Get())))
{
    propertyBag->SetString("PrinterName", kDefaultPrinterName);
    propertyBag->SetInteger("PrintJobId", kTestJobId);
    propertyBag->SetUnknown("PerUserPrintTicket", MakeTestObject<CTestReadStreamFactory>(DefaultUserTicket()).Get());
}

HRESULT TestPipeline::Initialize(IPrintPipelineFilter* filter)
{
    return filter->InitializeFilter(communicator.Get(), propertyBag.Get(), managerControl.Get());
}

ComPtr<IUnknown> AsPart(IUnknown* part) { return ComPtr<IUnknown>(part); }

ComPtr<CTestPrintTicketPart> MakeTicketPart(const std::string& uri, const std::string& xml)
{
    return MakeTestObject<CTestPrintTicketPart>(uri, xml);
}
