#include "tests/rip/ConverterHarness.h"

#include <gtest/gtest.h>

#include "platform/spooler/Spooler.h"

namespace {

std::int32_t Collect(const void* buffer, std::uint32_t count, void* context)
{
    auto* harness = static_cast<ConverterHarness*>(context);
    harness->reader.Consume({static_cast<const std::uint8_t*>(buffer), count},
                            [&](std::uint8_t type, std::span<const std::uint8_t> piece) {
                                if (type == ConverterRecord_DeviceData)
                                    harness->log.append(piece.begin(), piece.end());
                            });
    return S_OK;
}

std::int32_t Poll(std::uint8_t* stop)
{
    *stop = 0;
    return 1;
}

} // namespace

// Set before any test runs.
const bool buildDriverDirectory = (SpoolerSetPrinterDriverDirectory(XPSCHAIN_DRIVER_DIR), true);

ScopedDriverDirectory::ScopedDriverDirectory(const std::string& directory)
{
    SpoolerSetPrinterDriverDirectory(directory);
}

ScopedDriverDirectory::~ScopedDriverDirectory() { SpoolerSetPrinterDriverDirectory(XPSCHAIN_DRIVER_DIR); }

ConverterHarness::ConverterHarness()
{
    EXPECT_EQ(prnCore.module.Result(), S_OK) << prnCore.module.Failure();
    if (FAILED(prnCore.module.Result()))
        return;
    ConverterJobInfo job{};
    job.size = kConverterJobInfoSize;
    job.one = 1;
    control = prnCore.PrnCtrlOpen("driverout", 0, "", Collect, this, &job, Poll);
    conversion = prnCore.PrnCtrlXPS2SPDLOpen(Poll, control);
    feed = prnCore.GetConvCntFromSPDLCnt(conversion);
    EXPECT_NE(feed, nullptr);
}

ConverterHarness::~ConverterHarness()
{
    if (conversion)
        prnCore.PrnCtrlXPS2SPDLClose(conversion);
    if (control)
        prnCore.PrnCtrlClose(control);
}
