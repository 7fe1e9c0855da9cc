#pragma once
// The ZIP file of a package read: its parts (interleaved pieces joined), their content types and
// the lock under which every stream inflates. Shared by the provider, its parts and their streams.
#include <zip.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/package/ContentTypes.h"
#include "host/package/FontObfuscation.h"
#include "host/package/PackageError.h"
#include "platform/pipeline/PrintStreams.h"

struct PackagePiece {
    zip_uint64_t index = 0;  // the ZIP entry
    std::uint64_t size = 0;  // declared inflated size
};

struct PackageEntry {
    std::string name;  // part name as stored
    std::vector<PackagePiece> pieces;
    std::uint64_t size = 0;
};

// Parts larger than this, or larger than 1 MiB and inflating more than kMaxInflateRatio times
// their compressed size, are refused as zip bombs.
inline constexpr std::uint64_t kMaxPartSize = 512ull << 20;
inline constexpr std::uint64_t kMaxInflateRatio = 200;

class CPackageArchive : public std::enable_shared_from_this<CPackageArchive> {
public:
    // Opens the ZIP, checks every entry (name inside the package, sizes, pieces) and reads the
    // content types. A failure fills *error.
    static HRESULT Open(const std::string& path, std::shared_ptr<CPackageArchive>* archive, PackageError* error);
    ~CPackageArchive();
    CPackageArchive(const CPackageArchive&) = delete;
    CPackageArchive& operator=(const CPackageArchive&) = delete;

    // The part of that name (compared without regard to case or percent-encoding); null when absent.
    const PackageEntry* Find(std::string_view partName) const;
    std::string ContentType(std::string_view partName) const { return contentTypes_.Find(partName); }
    // A reader of the part's inflated bytes; key restores an obfuscated font on the way.
    HRESULT OpenStream(const PackageEntry& entry, const std::optional<FontObfuscationKey>& key, IPrintReadStream** stream);

    CPackageDiagnostics& Diagnostics() { return diagnostics_; }
    const std::string& Path() const { return path_; }

    // For the streams: the archive and the lock that guards it.
    zip_t* Zip() { return zip_; }
    std::mutex& Mutex() { return mutex_; }

private:
    CPackageArchive() = default;
    HRESULT IndexEntries(PackageError* error);
    HRESULT ReadContentTypesPart(PackageError* error);

    std::string path_;
    zip_t* zip_ = nullptr;
    std::mutex mutex_;
    std::map<std::string, PackageEntry> entries_;  // by part name key
    ContentTypeMap contentTypes_;
    CPackageDiagnostics diagnostics_;
};
