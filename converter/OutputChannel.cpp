#include "converter/OutputChannel.h"

#include <algorithm>

std::uint32_t COutputChannel::Next(std::uint32_t bound)
{
    state_ = state_ * 1664525u + 1013904223u;
    return bound == 0 ? 0 : (state_ >> 8) % bound;
}

void COutputChannel::Deliver(std::string_view text)
{
    if (!write_ || text.empty())
        return;

    // One record, or (every third line or so) two records splitting the text.
    std::size_t split = text.size();
    if (text.size() > 1 && Next(3) == 0)
        split = 1 + Next(static_cast<std::uint32_t>(text.size() - 1));

    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> headers;
    auto addRecord = [&](std::string_view payload) {
        headers.push_back(bytes.size());
        std::uint8_t header[kConverterRecordHeaderSize];
        WriteConverterRecordHeader({ConverterRecord_DeviceData, static_cast<std::uint32_t>(payload.size())}, header);
        bytes.insert(bytes.end(), header, header + kConverterRecordHeaderSize);
        bytes.insert(bytes.end(), payload.begin(), payload.end());
    };
    addRecord(text.substr(0, split));
    if (split < text.size())
        addRecord(text.substr(split));

    std::size_t position = 0;
    while (position < bytes.size()) {
        std::size_t end = position + 1 + Next(static_cast<std::uint32_t>(bytes.size() - position));
        // A cut inside a header moves behind it: headers always arrive whole.
        for (std::size_t header : headers) {
            if (header < end && end < header + kConverterRecordHeaderSize)
                end = header + kConverterRecordHeaderSize;
        }
        end = std::min(end, bytes.size());
        write_(bytes.data() + position, static_cast<std::uint32_t>(end - position), context_);
        position = end;
    }
}
