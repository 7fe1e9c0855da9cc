#pragma once
// One filter's surroundings in a test: provider, consumer, property bag, manager control and
// communicator, with the properties a host gives (printer name, job id, the user's default ticket
// of the built-in default printer).
#include <string>
#include <vector>

#include "platform/com/ComPtr.h"
#include "tests/support/TestCommunicator.h"
#include "tests/support/TestConsumer.h"
#include "tests/support/TestManagerControl.h"
#include "tests/support/TestParts.h"
#include "tests/support/TestPropertyBag.h"
#include "tests/support/TestProvider.h"

struct TestPipeline {
    // The job's parts in order; the default ticket is the built-in printer's.
    explicit TestPipeline(std::vector<ComPtr<IUnknown>> parts = {});

    // InitializeFilter with this pipeline's objects.
    HRESULT Initialize(IPrintPipelineFilter* filter);

    ComPtr<CTestProvider> provider;
    ComPtr<CTestConsumer> consumer;
    ComPtr<CTestPropertyBag> propertyBag;
    ComPtr<CTestManagerControl> managerControl;
    ComPtr<CTestCommunicator> communicator;
};

inline constexpr std::int32_t kTestJobId = 42;

// The default PrintTicket of the built-in printer, as the user's default ticket.
std::string DefaultUserTicket();

// A part as an entry of the provider's list.
ComPtr<IUnknown> AsPart(IUnknown* part);
// A print ticket part holding xml.
ComPtr<CTestPrintTicketPart> MakeTicketPart(const std::string& uri, const std::string& xml);
