#include "host/package/PackageReadStream.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "framework/XDException.h"
#include "platform/com/Stream.h"

CPackageReadStream::~CPackageReadStream()
{
    std::lock_guard lock(archive_->Mutex());
    CloseFileLocked();
}

void CPackageReadStream::CloseFileLocked()
{
    if (file_)
        zip_fclose(file_);
    file_ = nullptr;
}

HRESULT CPackageReadStream::ReadLocked(std::uint8_t* buffer, ULONG size, ULONG* read)
{
    ULONG done = 0;
    while (done < size && piece_ < entry_.pieces.size()) {
        const PackagePiece& piece = entry_.pieces[piece_];
        if (!file_) {
            file_ = zip_fopen_index(archive_->Zip(), piece.index, 0);
            if (!file_) {
                const std::string why = zip_error_strerror(zip_get_error(archive_->Zip()));
                return archive_->Diagnostics().Record(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), entry_.name, "cannot be read: " + why);
            }
            pieceRead_ = 0;
        }
        // Ask for one byte more than the piece declares, so that a lying directory shows.
        const std::uint64_t room = piece.size - std::min(piece.size, pieceRead_) + 1;
        const zip_int64_t n = zip_fread(file_, buffer + done, std::min<std::uint64_t>(size - done, room));
        if (n < 0) {
            const std::string why = zip_error_strerror(zip_file_get_error(file_));
            return archive_->Diagnostics().Record(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), entry_.name, "damaged: " + why);
        }
        pieceRead_ += static_cast<std::uint64_t>(n);
        if (pieceRead_ > piece.size)
            return archive_->Diagnostics().Record(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), entry_.name,
                                                  "inflates past the size its ZIP directory declares");
        if (n == 0) {
            if (pieceRead_ != piece.size)
                return archive_->Diagnostics().Record(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), entry_.name,
                                                      "ends before the size its ZIP directory declares");
            CloseFileLocked();
            ++piece_;
        }
        if (key_)
            ApplyFontObfuscation(*key_, position_, buffer + done, static_cast<std::size_t>(n));
        done += static_cast<ULONG>(n);
        position_ += static_cast<std::uint64_t>(n);
    }
    *read = done;
    return S_OK;
}

HRESULT CPackageReadStream::ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile)
{
    if (!buffer && size)
        return E_POINTER;
    ULONG got = 0;
    HRESULT hr;
    {
        std::lock_guard lock(archive_->Mutex());
        hr = GuardResult([&] { return ReadLocked(static_cast<std::uint8_t*>(buffer), size, &got); });
    }
    if (read)
        *read = got;
    if (endOfFile)
        *endOfFile = SUCCEEDED(hr) && (piece_ >= entry_.pieces.size() || position_ >= entry_.size);
    return hr;
}

HRESULT CPackageReadStream::Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition)
{
    const std::int64_t base = origin == STREAM_SEEK_SET   ? 0
                              : origin == STREAM_SEEK_CUR ? static_cast<std::int64_t>(position_)
                              : origin == STREAM_SEEK_END ? static_cast<std::int64_t>(entry_.size)
                                                          : -1;
    // Checked without forming the sum, which could overflow.
    if (base < 0 || distance < -base || (distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance))
        return E_INVALIDARG;
    const std::uint64_t target = static_cast<std::uint64_t>(base + distance);
    std::lock_guard lock(archive_->Mutex());
    const HRESULT hr = GuardResult([&] {
        if (target < position_) {
            CloseFileLocked();
            piece_ = 0;
            position_ = 0;
        }
        std::vector<std::uint8_t> scratch(65536);
        while (position_ < target && piece_ < entry_.pieces.size()) {
            ULONG got = 0;
            ThrowIfFailed(ReadLocked(scratch.data(), static_cast<ULONG>(std::min<std::uint64_t>(scratch.size(), target - position_)), &got));
            if (got == 0 && piece_ >= entry_.pieces.size())
                break;
        }
        return S_OK;
    });
    if (newPosition)
        *newPosition = position_;
    return hr;
}
