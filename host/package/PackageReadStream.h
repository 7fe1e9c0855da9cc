#pragma once
// Streams the inflated bytes of one part of a package, piece after piece, under the archive's
// lock. Counts what it inflates against the declared sizes, since a ZIP directory can lie.
#include <memory>
#include <optional>

#include "framework/ComBase.h"
#include "host/package/PackageArchive.h"

class CPackageReadStream final : public CComBase<IPrintReadStream> {
public:
    CPackageReadStream(std::shared_ptr<CPackageArchive> archive, PackageEntry entry, std::optional<FontObfuscationKey> key)
        : archive_(std::move(archive)), entry_(std::move(entry)), key_(key) {}
    ~CPackageReadStream() override;

    // Seeking back starts inflating again from the start; seeking forward inflates and skips.
    HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) override;
    // A damaged entry or one inflating past its declared size fails with ERROR_INVALID_DATA, recorded
    // in the package's diagnostics with the part name.
    HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) override;

private:
    HRESULT ReadLocked(std::uint8_t* buffer, ULONG size, ULONG* read);
    void CloseFileLocked();

    std::shared_ptr<CPackageArchive> archive_;
    PackageEntry entry_;
    std::optional<FontObfuscationKey> key_;
    std::size_t piece_ = 0;         // the piece being read
    zip_file_t* file_ = nullptr;    // open on piece_
    std::uint64_t pieceRead_ = 0;   // inflated from piece_
    std::uint64_t position_ = 0;    // in the joined part
};
