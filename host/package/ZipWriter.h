#pragma once
// Writes a ZIP file entry by entry, streaming: each entry's data is deflated as it comes and its
// local header patched afterwards, so no entry is held whole. Fixed time stamps make the output
// depend only on the entries. ZIP64 records are added when the file or the entry count needs them.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Hresult.h"

class CZipWriter {
public:
    CZipWriter() = default;
    ~CZipWriter();
    CZipWriter(const CZipWriter&) = delete;
    CZipWriter& operator=(const CZipWriter&) = delete;

    // Creates or truncates path. Failures leave *error (optional) with the system's reason.
    HRESULT Open(const std::string& path, std::string* error);
    // Starts an entry; deflate at a fast level, or store.
    HRESULT BeginEntry(std::string_view name, bool deflate);
    HRESULT Write(const void* data, std::size_t size);
    HRESULT EndEntry();
    // Writes the central directory and closes the file; nothing may follow.
    HRESULT Finish(std::string* error);
    // The system's reason for the last failed write.
    const std::string& SystemError() const { return systemError_; }

private:
    struct Entry {
        std::string name;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0;
        bool deflate = false;
    };

    HRESULT Emit(const void* data, std::size_t size);
    HRESULT Flush();
    HRESULT Patch(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);
    HRESULT DeflateChunk(const void* data, std::size_t size, int flush);
    HRESULT Fail(int errnoValue);

    int fd_ = -1;
    std::string systemError_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t flushed_ = 0;  // bytes already in the file
    std::vector<Entry> entries_;
    bool inEntry_ = false;
    z_stream zlib_{};
    bool zlibReady_ = false;
};
