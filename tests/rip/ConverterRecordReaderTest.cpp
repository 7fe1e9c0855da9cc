#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rip/ConverterRecordReader.h"

namespace {

std::vector<std::uint8_t> Record(std::uint8_t type, const std::string& payload)
{
    std::vector<std::uint8_t> bytes(kConverterRecordHeaderSize + payload.size());
    WriteConverterRecordHeader({type, static_cast<std::uint32_t>(payload.size())}, bytes.data());
    std::copy(payload.begin(), payload.end(), bytes.begin() + kConverterRecordHeaderSize);
    return bytes;
}

std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Feeds the calls in order; gives the device data (type 0) and the pieces of other types.
struct Collected {
    std::string deviceData;
    std::string other;
};
Collected Feed(ConverterRecordReader& reader, const std::vector<std::vector<std::uint8_t>>& calls)
{
    Collected out;
    for (const auto& call : calls)
        reader.Consume(call, [&](std::uint8_t type, std::span<const std::uint8_t> piece) {
            (type == 0 ? out.deviceData : out.other).append(piece.begin(), piece.end());
        });
    return out;
}

TEST(ConverterRecordReader, TwoRecordsInOneCallAreWrittenInOrder)
{
    ConverterRecordReader reader;
    const auto out = Feed(reader, {Join({Record(0, "first "), Record(0, "second")})});
    EXPECT_EQ(out.deviceData, "first second");
    EXPECT_EQ(reader.recordRemaining, 0u);
}

TEST(ConverterRecordReader, PayloadSpreadOverCallsIsJoined)
{
    const auto bytes = Join({Record(0, "abcdefghij"), Record(0, "XYZ")});
    // Cut inside the first payload and right after the first header.
    ConverterRecordReader reader;
    const auto out = Feed(reader, {{bytes.begin(), bytes.begin() + 8},
                                   {bytes.begin() + 8, bytes.begin() + 12},
                                   {bytes.begin() + 12, bytes.end()}});
    EXPECT_EQ(out.deviceData, "abcdefghijXYZ");
}

TEST(ConverterRecordReader, FewerThanHeaderBytesAtTheEndOfACallAreDropped)
{
    ConverterRecordReader reader;
    auto call = Record(0, "data");
    call.insert(call.end(), {0, 0, 0, 0, 9});  // five bytes where a header is expected
    auto out = Feed(reader, {call});
    EXPECT_EQ(out.deviceData, "data");
    EXPECT_EQ(reader.recordRemaining, 0u);
    // The next call starts with a whole header again.
    out = Feed(reader, {Record(0, "more")});
    EXPECT_EQ(out.deviceData, "more");
}

TEST(ConverterRecordReader, OtherTypesAreKeptApartFromDeviceData)
{
    ConverterRecordReader reader;
    const auto out = Feed(reader, {Join({Record(1, "C:\\dup1.prn"), Record(7, "??"), Record(0, "ok")})});
    EXPECT_EQ(out.deviceData, "ok");
    EXPECT_EQ(out.other, "C:\\dup1.prn??");
}

TEST(ConverterRecordReader, EmptyRecordIsSkipped)
{
    ConverterRecordReader reader;
    const auto out = Feed(reader, {Join({Record(0, ""), Record(0, "after")})});
    EXPECT_EQ(out.deviceData, "after");
}

} // namespace
