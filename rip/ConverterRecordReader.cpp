#include "rip/ConverterRecordReader.h"

#include <algorithm>

void ConverterRecordReader::Consume(
    std::span<const std::uint8_t> bytes,
    const std::function<void(std::uint8_t type, std::span<const std::uint8_t> piece)>& sink)
{
    while (!bytes.empty()) {
        if (recordRemaining == 0) {
            if (bytes.size() < kConverterRecordHeaderSize)
                return;
            const ConverterOutputRecordHeader header = ReadConverterRecordHeader(bytes.data());
            recordType = header.type;
            recordRemaining = header.length;
            bytes = bytes.subspan(kConverterRecordHeaderSize);
            if (bytes.empty())
                return;
        }
        const std::size_t k = std::min<std::size_t>(recordRemaining, bytes.size());
        if (k > 0)
            sink(recordType, bytes.first(k));
        recordRemaining -= static_cast<std::uint32_t>(k);
        bytes = bytes.subspan(k);
    }
}
