#include "host/package/ZipWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
constexpr std::uint16_t kDosTime = 0;                           // 00:00:00
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;     // 1980-01-01
constexpr std::uint32_t kMax32 = 0xFFFFFFFFu;
constexpr HRESULT kWriteFault = HRESULT_FROM_WIN32(29);         // ERROR_WRITE_FAULT

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Put64(std::vector<std::uint8_t>& out, std::uint64_t v)
{
    Put32(out, static_cast<std::uint32_t>(v));
    Put32(out, static_cast<std::uint32_t>(v >> 32));
}

bool IsAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

CZipWriter::~CZipWriter()
{
    if (zlibReady_)
        deflateEnd(&zlib_);
    if (fd_ >= 0)
        close(fd_);
}

HRESULT CZipWriter::Fail(int errnoValue)
{
    systemError_ = std::strerror(errnoValue);
    return kWriteFault;
}

HRESULT CZipWriter::Open(const std::string& path, std::string* error)
{
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        if (error)
            *error = std::strerror(errno);
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    if (deflateInit2(&zlib_, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return E_OUTOFMEMORY;
    zlibReady_ = true;
    buffer_.reserve(kBufferSize);
    return S_OK;
}

HRESULT CZipWriter::Flush()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    flushed_ += buffer_.size();
    buffer_.clear();
    return S_OK;
}

HRESULT CZipWriter::Emit(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size) {
        const std::size_t room = kBufferSize - buffer_.size();
        const std::size_t n = size < room ? size : room;
        buffer_.insert(buffer_.end(), bytes, bytes + n);
        bytes += n;
        size -= n;
        if (buffer_.size() == kBufferSize) {
            if (const HRESULT hr = Flush(); FAILED(hr))
                return hr;
        }
    }
    return S_OK;
}

HRESULT CZipWriter::Patch(std::uint64_t offset, const std::vector<std::uint8_t>& bytes)
{
    if (offset >= flushed_) {
        std::memcpy(buffer_.data() + (offset - flushed_), bytes.data(), bytes.size());
        return S_OK;
    }
    if (const HRESULT hr = Flush(); FAILED(hr))
        return hr;
    if (pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset)) != static_cast<ssize_t>(bytes.size()))
        return Fail(errno);
    return S_OK;
}

HRESULT CZipWriter::BeginEntry(std::string_view name, bool deflate)
{
    if (fd_ < 0 || inEntry_)
        return E_FAIL;
    Entry entry;
    entry.name = name;
    entry.deflate = deflate;
    entry.offset = flushed_ + buffer_.size();
    std::vector<std::uint8_t> header;
    Put32(header, 0x04034b50);
    Put16(header, 20);
    Put16(header, IsAscii(name) ? 0 : 0x0800);
    Put16(header, deflate ? 8 : 0);
    Put16(header, kDosTime);
    Put16(header, kDosDate);
    Put32(header, 0);  // crc, patched at EndEntry
    Put32(header, 0);  // compressed size
    Put32(header, 0);  // size
    Put16(header, static_cast<std::uint32_t>(name.size()));
    Put16(header, 0);
    header.insert(header.end(), name.begin(), name.end());
    entries_.push_back(std::move(entry));
    inEntry_ = true;
    if (deflate)
        deflateReset(&zlib_);
    return Emit(header.data(), header.size());
}

HRESULT CZipWriter::DeflateChunk(const void* data, std::size_t size, int flush)
{
    std::uint8_t out[65536];
    zlib_.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    zlib_.avail_in = static_cast<uInt>(size);
    do {
        zlib_.next_out = out;
        zlib_.avail_out = sizeof out;
        const int rc = deflate(&zlib_, flush);
        if (rc == Z_STREAM_ERROR)
            return E_FAIL;
        const std::size_t produced = sizeof out - zlib_.avail_out;
        entries_.back().compressedSize += produced;
        if (const HRESULT hr = Emit(out, produced); FAILED(hr))
            return hr;
        if (flush == Z_FINISH && rc == Z_STREAM_END)
            break;
    } while (zlib_.avail_out == 0 || (flush == Z_FINISH));
    return S_OK;
}

HRESULT CZipWriter::Write(const void* data, std::size_t size)
{
    if (!inEntry_)
        return E_FAIL;
    Entry& entry = entries_.back();
    if (entry.size + size >= kMax32)
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);  // parts stay below 4 GiB
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size) {
        // zlib counts in 32-bit chunks.
        const std::size_t n = size < (1u << 30) ? size : (1u << 30);
        entry.crc = static_cast<std::uint32_t>(crc32(entry.crc, bytes, static_cast<uInt>(n)));
        entry.size += n;
        if (entry.deflate) {
            if (const HRESULT hr = DeflateChunk(bytes, n, Z_NO_FLUSH); FAILED(hr))
                return hr;
        } else {
            entry.compressedSize += n;
            if (const HRESULT hr = Emit(bytes, n); FAILED(hr))
                return hr;
        }
        bytes += n;
        size -= n;
    }
    return S_OK;
}

HRESULT CZipWriter::EndEntry()
{
    if (!inEntry_)
        return E_FAIL;
    inEntry_ = false;
    Entry& entry = entries_.back();
    if (entry.deflate) {
        if (const HRESULT hr = DeflateChunk(nullptr, 0, Z_FINISH); FAILED(hr))
            return hr;
    }
    if (entry.compressedSize >= kMax32)
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    std::vector<std::uint8_t> sizes;
    Put32(sizes, entry.crc);
    Put32(sizes, static_cast<std::uint32_t>(entry.compressedSize));
    Put32(sizes, static_cast<std::uint32_t>(entry.size));
    return Patch(entry.offset + 14, sizes);
}

HRESULT CZipWriter::Finish(std::string* error)
{
    if (fd_ < 0 || inEntry_)
        return E_FAIL;
    const std::uint64_t directoryOffset = flushed_ + buffer_.size();
    std::vector<std::uint8_t> record;
    for (const Entry& entry : entries_) {
        record.clear();
        const bool farOffset = entry.offset >= kMax32;
        Put32(record, 0x02014b50);
        Put16(record, 0x0300 | 45);  // made by: Unix, 4.5
        Put16(record, farOffset ? 45 : 20);
        Put16(record, IsAscii(entry.name) ? 0 : 0x0800);
        Put16(record, entry.deflate ? 8 : 0);
        Put16(record, kDosTime);
        Put16(record, kDosDate);
        Put32(record, entry.crc);
        Put32(record, static_cast<std::uint32_t>(entry.compressedSize));
        Put32(record, static_cast<std::uint32_t>(entry.size));
        Put16(record, static_cast<std::uint32_t>(entry.name.size()));
        Put16(record, farOffset ? 12 : 0);  // extra field
        Put16(record, 0);                   // comment
        Put16(record, 0);                   // disk
        Put16(record, 0);                   // internal attributes
        Put32(record, 0100644u << 16);      // external attributes: a regular file, rw-r--r--
        Put32(record, farOffset ? kMax32 : static_cast<std::uint32_t>(entry.offset));
        record.insert(record.end(), entry.name.begin(), entry.name.end());
        if (farOffset) {
            Put16(record, 0x0001);
            Put16(record, 8);
            Put64(record, entry.offset);
        }
        if (const HRESULT hr = Emit(record.data(), record.size()); FAILED(hr))
            return hr;
    }
    const std::uint64_t directoryEnd = flushed_ + buffer_.size();
    const std::uint64_t directorySize = directoryEnd - directoryOffset;
    const std::uint64_t count = entries_.size();
    const bool zip64 = count >= 0xFFFF || directoryOffset >= kMax32 || directorySize >= kMax32;
    record.clear();
    if (zip64) {
        Put32(record, 0x06064b50);
        Put64(record, 44);
        Put16(record, 45);
        Put16(record, 45);
        Put32(record, 0);
        Put32(record, 0);
        Put64(record, count);
        Put64(record, count);
        Put64(record, directorySize);
        Put64(record, directoryOffset);
        Put32(record, 0x07064b50);
        Put32(record, 0);
        Put64(record, directoryEnd);
        Put32(record, 1);
    }
    Put32(record, 0x06054b50);
    Put16(record, 0);
    Put16(record, 0);
    Put16(record, zip64 ? 0xFFFF : static_cast<std::uint32_t>(count));
    Put16(record, zip64 ? 0xFFFF : static_cast<std::uint32_t>(count));
    Put32(record, zip64 ? kMax32 : static_cast<std::uint32_t>(directorySize));
    Put32(record, zip64 ? kMax32 : static_cast<std::uint32_t>(directoryOffset));
    Put16(record, 0);
    HRESULT hr = Emit(record.data(), record.size());
    if (SUCCEEDED(hr))
        hr = Flush();
    if (close(fd_) != 0 && SUCCEEDED(hr))
        hr = Fail(errno);
    fd_ = -1;
    if (FAILED(hr) && error)
        *error = systemError_;
    return hr;
}
