#pragma once
// Reassembles the ConverterOutputRecords that the converter delivers through WriteConverterOutput:
// a payload may be spread over several calls (the open record carries over between calls), a
// header is never split. Bytes too few for a header at the end of a call are dropped.
#include <cstdint>
#include <functional>
#include <span>

#include "converter/ConverterApi.h"

struct ConverterRecordReader {
    // Payload bytes still expected of the current record; 0 when none is open.
    std::uint32_t recordRemaining = 0;
    // Type of the current record.
    std::uint8_t recordType = 0;

    // Hands every payload piece of bytes to sink(type, piece) in stream order; a piece never
    // crosses a record boundary and is never empty.
    void Consume(std::span<const std::uint8_t> bytes,
                 const std::function<void(std::uint8_t type, std::span<const std::uint8_t> piece)>& sink);
};
