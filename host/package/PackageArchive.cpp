#include "host/package/PackageArchive.h"

#include <algorithm>

#include "framework/XDException.h"
#include "host/package/PackageReadStream.h"
#include "host/package/PartName.h"
#include "platform/com/ComPtr.h"

namespace {

HRESULT Refuse(PackageError* error, std::string part, std::string message)
{
    if (error)
        *error = PackageError{HRESULT_FROM_WIN32(ERROR_INVALID_DATA), std::move(part), std::move(message)};
    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

struct PieceSlot {
    unsigned index;
    bool last;
    PackagePiece piece;
    std::uint64_t compressedSize;
};

// Refuses a part too large, or large and compressed so far that it is a zip bomb. A part made of
// interleaved pieces is judged whole, since each piece alone may look harmless.
HRESULT CheckSize(PackageError* error, const std::string& part, std::uint64_t size, std::uint64_t compressedSize)
{
    if (size > kMaxPartSize)
        return Refuse(error, part, "inflates to " + std::to_string(size >> 20) + " MiB, past the limit of " +
                                       std::to_string(kMaxPartSize >> 20) + " MiB");
    if (size > (1u << 20) && size / std::max<std::uint64_t>(compressedSize, 1) > kMaxInflateRatio)
        return Refuse(error, part, "compression ratio is absurd (" + std::to_string(size) + " bytes from " +
                                       std::to_string(compressedSize) + "), refused as a zip bomb");
    return S_OK;
}

} // namespace

CPackageArchive::~CPackageArchive()
{
    if (zip_)
        zip_discard(zip_);
}

HRESULT CPackageArchive::Open(const std::string& path, std::shared_ptr<CPackageArchive>* archive, PackageError* error)
{
    if (!archive)
        return E_POINTER;
    return GuardResult([&] {
        std::shared_ptr<CPackageArchive> made(new CPackageArchive());
        made->path_ = path;
        int code = 0;
        made->zip_ = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
        if (!made->zip_ && code == ZIP_ER_INCONS) {
            // Some producers leave gaps between entries, which the strict check refuses; every entry
            // is still checked against its directory record as it is inflated.
            made->zip_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        }
        if (!made->zip_) {
            zip_error_t zipError;
            zip_error_init_with_code(&zipError, code);
            const std::string why = zip_error_strerror(&zipError);
            zip_error_fini(&zipError);
            if (code == ZIP_ER_NOENT || code == ZIP_ER_OPEN) {
                if (error)
                    *error = PackageError{HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), path, "cannot be opened: " + why};
                return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
            }
            return Refuse(error, path, "is not a readable ZIP package (" + why + ")");
        }
        ThrowIfFailed(made->IndexEntries(error));
        ThrowIfFailed(made->ReadContentTypesPart(error));
        *archive = std::move(made);
        return S_OK;
    });
}

HRESULT CPackageArchive::IndexEntries(PackageError* error)
{
    std::map<std::string, std::pair<std::string, std::vector<PieceSlot>>> pieces;  // by part key
    const zip_int64_t count = zip_get_num_entries(zip_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(zip_, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            return Refuse(error, path_, "has an unreadable ZIP directory entry");
        const std::string_view raw(stat.name);
        if (raw.ends_with('/') && stat.size == 0)
            continue;  // a folder entry
        const auto name = part_name::FromZipEntry(raw);
        if (!name)
            return Refuse(error, std::string(raw), "entry name escapes the package");
        if (const HRESULT hr = CheckSize(error, *name, stat.size, stat.comp_size); FAILED(hr))
            return hr;
        const PackagePiece piece{static_cast<zip_uint64_t>(i), stat.size};
        if (const auto p = part_name::ParsePiece(*name)) {
            auto& slot = pieces[part_name::Key(p->part)];
            slot.first = p->part;
            slot.second.push_back({p->index, p->last, piece, stat.comp_size});
            continue;
        }
        PackageEntry entry{*name, {piece}, stat.size};
        if (!entries_.emplace(part_name::Key(*name), std::move(entry)).second)
            return Refuse(error, *name, "appears twice in the package");
    }
    for (auto& [key, slot] : pieces) {
        auto& [name, list] = slot;
        std::sort(list.begin(), list.end(), [](const PieceSlot& a, const PieceSlot& b) { return a.index < b.index; });
        PackageEntry entry{name, {}, 0};
        std::uint64_t compressedSize = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].index != i || list[i].last != (i + 1 == list.size()))
                return Refuse(error, name, "has missing or misplaced interleaved pieces");
            entry.pieces.push_back(list[i].piece);
            entry.size += list[i].piece.size;
            compressedSize += list[i].compressedSize;
        }
        if (const HRESULT hr = CheckSize(error, name, entry.size, compressedSize); FAILED(hr))
            return hr;
        if (!entries_.emplace(key, std::move(entry)).second)
            return Refuse(error, name, "appears twice in the package");
    }
    return S_OK;
}

HRESULT CPackageArchive::ReadContentTypesPart(PackageError* error)
{
    const PackageEntry* entry = Find("/[Content_Types].xml");
    if (!entry)
        return S_OK;  // tolerated: content types then follow the extensions
    ComPtr<IPrintReadStream> stream;
    ThrowIfFailed(OpenStream(*entry, std::nullopt, stream.Put()));
    std::string why;
    const HRESULT hr = ReadContentTypes(stream.Get(), &contentTypes_, &why);
    if (FAILED(hr) && error)
        *error = diagnostics_.First().Failed() ? diagnostics_.First() : PackageError{hr, entry->name, why};
    return hr;
}

const PackageEntry* CPackageArchive::Find(std::string_view partName) const
{
    const auto found = entries_.find(part_name::Key(partName));
    return found == entries_.end() ? nullptr : &found->second;
}

HRESULT CPackageArchive::OpenStream(const PackageEntry& entry, const std::optional<FontObfuscationKey>& key, IPrintReadStream** stream)
{
    if (!stream)
        return E_POINTER;
    return GuardResult([&] {
        *stream = new CPackageReadStream(shared_from_this(), entry, key);
        return S_OK;
    });
}
