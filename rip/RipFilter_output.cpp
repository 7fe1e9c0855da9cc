// The converter's way back into the filter: its output records and its poll.
#include "rip/RipFilter.h"

#include "framework/TraceControl.h"

std::int32_t CRipFilter::WriteConverterOutput(const void* buffer, std::uint32_t count, void* context)
{
    auto* filter = static_cast<CRipFilter*>(context);
    if (count == 0)
        return S_OK;
    if (!filter || !buffer)
        return E_POINTER;
    HRESULT last = S_OK;
    filter->records.Consume({static_cast<const std::uint8_t*>(buffer), count},
                            [&](std::uint8_t type, std::span<const std::uint8_t> piece) {
                                // Manual-duplex file names (type 1) and unknown types are skipped.
                                if (type != ConverterRecord_DeviceData)
                                    return;
                                ULONG written = 0;
                                last = filter->writer ? filter->writer->WriteBytes(piece.data(),
                                                                                   static_cast<ULONG>(piece.size()),
                                                                                   &written)
                                                      : ResultNotAvailable;
                                if (SUCCEEDED(last) && written != piece.size())
                                    last = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
                                // The converter goes on; the job fails once the converter returns.
                                if (FAILED(last) && SUCCEEDED(filter->writeFailure)) {
                                    filter->writeFailure = last;
                                    TraceEvent(kTraceFlagError, "writing device data failed: %s",
                                               FormatHresult(last).c_str());
                                }
                            });
    return last;
}

std::int32_t CRipFilter::ConverterPollCallback(std::uint8_t* stop)
{
    if (stop)
        *stop = 0;
    return 1;
}
