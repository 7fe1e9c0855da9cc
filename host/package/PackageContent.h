#pragma once
// The content of a part that stays in the package until someone asks for its bytes.
#include <memory>
#include <optional>

#include "host/package/PackageArchive.h"
#include "host/package/PartContent.h"

class CPackageContent final : public CPartContent {
public:
    CPackageContent(std::shared_ptr<CPackageArchive> archive, const PackageEntry* entry, std::optional<FontObfuscationKey> key)
        : archive_(std::move(archive)), entry_(entry), key_(key) {}
    HRESULT OpenStream(IPrintReadStream** stream) const override { return archive_->OpenStream(*entry_, key_, stream); }

private:
    std::shared_ptr<CPackageArchive> archive_;
    const PackageEntry* entry_;  // owned by archive_
    std::optional<FontObfuscationKey> key_;
};
