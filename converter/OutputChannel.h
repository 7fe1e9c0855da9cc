#pragma once
// How the reference converter hands its output to the RIP filter: every log line becomes one or
// two device data records, and the record bytes go out in several calls of the output function,
// cut at points drawn from a fixed pseudo-random sequence. The cuts vary from line to line but
// repeat from job to job, and never fall inside a record header, so the receiver's reassembly is
// exercised on every job.
#include <cstdint>
#include <string_view>
#include <vector>

#include "converter/ConverterApi.h"

class COutputChannel {
public:
    COutputChannel(WriteConverterOutputFn write, void* context) : write_(write), context_(context) {}

    // Delivers text as device data before returning; a failing output function is not retried.
    void Deliver(std::string_view text);

private:
    // The next value of a linear congruential sequence, in [0, bound).
    std::uint32_t Next(std::uint32_t bound);

    WriteConverterOutputFn write_;
    void* context_;
    std::uint32_t state_ = 0x2545F491u;
};
