#include "host/package/PackageProvider.h"


#include "framework/XDException.h"
#include "host/package/DocumentParts.h"
#include "host/package/FixedPagePart.h"
#include "host/package/FontPart.h"
#include "host/package/PackageContent.h"
#include "host/package/PartName.h"
#include "host/package/TypedPart.h"
#include "host/package/XmlScanner.h"
#include "host/package/XpsNames.h"

namespace {

using namespace xps_names;

// The kind of a resource that only a relationship names: by content type, else by extension.
ResourceKind KindOfType(std::string_view type, const std::string& extension)
{
    if (type == kTypeFont || type == kTypeObfuscatedFont || type.find("font") != std::string_view::npos)
        return ResourceKind::Font;
    if (type.starts_with("image/"))
        return ResourceKind::Image;
    if (type == kTypeColorProfile)
        return ResourceKind::ColorProfile;
    if (type == kTypeDictionary)
        return ResourceKind::ResourceDictionary;
    if (!type.empty())
        return ResourceKind::Other;
    static const std::map<std::string, ResourceKind> byExtension = {
        {"ttf", ResourceKind::Font},   {"otf", ResourceKind::Font},   {"odttf", ResourceKind::Font},
        {"ttc", ResourceKind::Font},   {"png", ResourceKind::Image},  {"jpg", ResourceKind::Image},
        {"jpeg", ResourceKind::Image}, {"tif", ResourceKind::Image},  {"tiff", ResourceKind::Image},
        {"wdp", ResourceKind::Image},  {"jxr", ResourceKind::Image},  {"icc", ResourceKind::ColorProfile},
        {"icm", ResourceKind::ColorProfile}, {"dict", ResourceKind::ResourceDictionary}};
    const auto found = byExtension.find(extension);
    return found == byExtension.end() ? ResourceKind::Other : found->second;
}

// Image content types by extension, for packages whose content types do not say.
std::string ImageTypeOf(const std::string& extension)
{
    if (extension == "png")
        return "image/png";
    if (extension == "jpg" || extension == "jpeg")
        return "image/jpeg";
    if (extension == "tif" || extension == "tiff")
        return "image/tiff";
    if (extension == "wdp" || extension == "jxr")
        return "image/vnd.ms-photo";
    return std::string(kTypeOctetStream);
}

} // namespace

void CPackageProvider::Fail(const std::string& part, const std::string& message)
{
    throw CXDException(archive_->Diagnostics().Record(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), part, message));
}

ComPtr<IPrintReadStream> CPackageProvider::Open(const std::string& part)
{
    const PackageEntry* entry = archive_->Find(part);
    if (!entry)
        Fail(part, "is missing from the package");
    ComPtr<IPrintReadStream> stream;
    ThrowIfFailed(archive_->OpenStream(*entry, std::nullopt, stream.Put()));
    return stream;
}

std::vector<Relationship> CPackageProvider::RelationshipsOf(const std::string& part)
{
    std::vector<Relationship> relationships;
    const std::string name = part_name::RelationshipsOf(part);
    if (!archive_->Find(name))
        return relationships;
    std::string why;
    const HRESULT hr = ReadRelationships(Open(name).Get(), part, &relationships, &why);
    if (FAILED(hr)) {
        archive_->Diagnostics().Record(hr, name, why);
        throw CXDException(hr);
    }
    return relationships;
}

std::vector<std::string> CPackageProvider::ReadReferenceList(const std::string& part, std::string_view element)
{
    std::vector<std::string> names;
    std::string bad;
    std::string why;
    const HRESULT hr = ScanXml(
        Open(part).Get(),
        [&](const XmlStartTag& tag) {
            if (tag.localName != element)
                return S_OK;
            const auto name = part_name::Resolve(part, tag.Attribute("Source"));
            if (!name) {
                bad = tag.Attribute("Source");
                return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
            }
            names.push_back(*name);
            return S_OK;
        },
        &why);
    if (FAILED(hr)) {
        archive_->Diagnostics().Record(hr, part, why.empty() ? std::string(element) + " Source \"" + bad + "\" is not a part name" : why);
        throw CXDException(hr);
    }
    return names;
}

HRESULT CPackageProvider::Start(PackageError* error)
{
    const HRESULT hr = GuardResult([&] {
        for (const Relationship& r : RelationshipsOf("/")) {
            if (r.external)
                continue;
            if (sequence_.empty() && IsRelationshipType(r.type, kRelFixedRepresentation))
                sequence_ = r.target;
            else if (!thumbnail_ && r.type == kRelThumbnail && archive_->Find(r.target))
                thumbnail_.Attach(new CThumbnailPart(r.target, std::make_shared<CPackageContent>(archive_, archive_->Find(r.target), std::nullopt),
                                                     archive_->ContentType(r.target)));
        }
        if (sequence_.empty())
            Fail(archive_->Path(), "has no FixedDocumentSequence (no fixed representation relationship in /_rels/.rels)");
        if (!archive_->Find(sequence_))
            Fail(sequence_, "the FixedDocumentSequence is missing from the package");
        documents_ = ReadReferenceList(sequence_, "DocumentReference");
        jobTicket_ = TicketOf(sequence_, RelationshipsOf(sequence_));
        return S_OK;
    });
    if (FAILED(hr) && error) {
        *error = archive_->Diagnostics().First();
        if (!error->Failed())
            *error = PackageError{hr, archive_->Path(), "cannot be read"};
    }
    return hr;
}

HRESULT CPackageProvider::GetXpsPart(IUnknown** part)
{
    if (!part)
        return E_POINTER;
    *part = nullptr;
    if (FAILED(failure_))
        return failure_;
    failure_ = GuardResult([&] {
        *part = NextPart().Detach();
        return S_OK;
    });
    if (failure_ == E_OUTOFMEMORY)
        archive_->Diagnostics().Record(failure_, archive_->Path(), "out of memory while reading");
    return failure_;
}

ComPtr<IUnknown> CPackageProvider::NextPart()
{
    ComPtr<IUnknown> part;
    switch (stage_) {
    case Stage::Package:
        part.Attach(static_cast<IXpsDocument*>(new CXpsDocumentPart(thumbnail_)));
        stage_ = Stage::Sequence;
        return part;
    case Stage::Sequence:
        part.Attach(static_cast<IFixedDocumentSequence*>(new CFixedDocumentSequencePart(sequence_, jobTicket_)));
        stage_ = Stage::Document;
        return part;
    case Stage::Document:
        if (document_ >= documents_.size()) {
            stage_ = Stage::End;
            return nullptr;
        }
        stage_ = Stage::Page;
        return MakeDocument(documents_[document_++]);
    case Stage::Page:
        if (page_ >= pages_.size()) {
            stage_ = Stage::Document;
            return NextPart();
        }
        return MakePage(pages_[page_++]);
    case Stage::End:
        break;
    }
    return nullptr;
}

ComPtr<IUnknown> CPackageProvider::MakeDocument(const std::string& name)
{
    pages_ = ReadReferenceList(name, "PageContent");
    page_ = 0;
    ComPtr<IUnknown> document;
    document.Attach(static_cast<IFixedDocument*>(new CFixedDocumentPart(name, TicketOf(name, RelationshipsOf(name)))));
    return document;
}

ComPtr<IPartPrintTicket> CPackageProvider::TicketOf(const std::string& part, const std::vector<Relationship>& relationships)
{
    for (const Relationship& r : relationships) {
        if (!r.external && IsRelationshipType(r.type, kRelPrintTicket))
            return Ticket(part, r.target);
    }
    return nullptr;
}

ComPtr<IPartPrintTicket> CPackageProvider::Ticket(const std::string& referrer, const std::string& name)
{
    auto& slot = tickets_[part_name::Key(name)];
    if (!slot) {
        const PackageEntry* entry = archive_->Find(name);
        if (!entry)
            Fail(referrer, "has a PrintTicket relationship to " + name + ", which is missing from the package");
        slot.Attach(new CPlainPart<IPartPrintTicket>(entry->name, std::make_shared<CPackageContent>(archive_, entry, std::nullopt)));
    }
    return slot;
}

ResourceKind CPackageProvider::KindOf(const std::string& name) const
{
    return KindOfType(archive_->ContentType(name), part_name::Extension(name));
}

ComPtr<IUnknown> CPackageProvider::MakePage(const std::string& name)
{
    if (!archive_->Find(name))
        Fail(name, "the page is missing from the package");
    const std::vector<Relationship> relationships = RelationshipsOf(name);
    PageResourceList resources;
    for (const Relationship& r : relationships) {
        if (!r.external && (IsRelationshipType(r.type, kRelRequiredResource) || IsRelationshipType(r.type, kRelRestrictedFont))) {
            if (!archive_->Find(r.target))
                Fail(name, "has a resource relationship to " + r.target + ", which is missing from the package");
            AddResource(name, r.target, KindOf(r.target), &resources);
        }
    }
    std::vector<MarkupReference> references;
    std::string why;
    const HRESULT hr = ScanMarkupReferences(Open(name).Get(), MarkupRoot::FixedPage, &references, &why);
    if (FAILED(hr)) {
        archive_->Diagnostics().Record(hr, name, why);
        throw CXDException(hr);
    }
    for (const MarkupReference& reference : references) {
        if (const auto resolved = part_name::Resolve(name, reference.uri))
            AddResource(name, *resolved, reference.kind, &resources);
    }
    ComPtr<IUnknown> page;
    page.Attach(static_cast<IFixedPage*>(new CFixedPagePart(archive_->Find(name)->name,
                                                            std::make_shared<CPackageContent>(archive_, archive_->Find(name), std::nullopt),
                                                            TicketOf(name, relationships), std::move(resources))));
    return page;
}

void CPackageProvider::AddResource(const std::string& page, const std::string& name, ResourceKind kind, PageResourceList* resources)
{
    const std::string key = part_name::Key(name);
    for (const auto& entry : *resources) {
        if (part_name::Key(entry.first) == key)
            return;
    }
    const PackageEntry* entry = archive_->Find(name);
    if (!entry)
        Fail(page, "names " + name + ", which is missing from the package");
    resources->emplace_back(entry->name, Resource(entry->name, kind));
    if (kind == ResourceKind::ResourceDictionary) {
        for (const MarkupReference& reference : DictionaryReferences(entry->name))
            AddResource(page, reference.uri, reference.kind, resources);
    }
}

const std::vector<MarkupReference>& CPackageProvider::DictionaryReferences(const std::string& name)
{
    const std::string key = part_name::Key(name);
    if (const auto found = dictionaryReferences_.find(key); found != dictionaryReferences_.end())
        return found->second;
    std::vector<MarkupReference> references;
    std::string why;
    const HRESULT hr = ScanMarkupReferences(Open(name).Get(), MarkupRoot::ResourceDictionary, &references, &why);
    if (FAILED(hr)) {
        archive_->Diagnostics().Record(hr, name, why);
        throw CXDException(hr);
    }
    std::vector<MarkupReference> resolved;
    for (const MarkupReference& reference : references) {
        if (const auto target = part_name::Resolve(name, reference.uri); target && part_name::Key(*target) != key)
            resolved.push_back({reference.kind, *target});
    }
    return dictionaryReferences_[key] = std::move(resolved);
}

ComPtr<IUnknown> CPackageProvider::Resource(const std::string& name, ResourceKind kind)
{
    auto& slot = resources_[part_name::Key(name)];
    if (slot)
        return slot;
    const PackageEntry* entry = archive_->Find(name);
    const std::string type = archive_->ContentType(name);
    const std::string extension = part_name::Extension(name);
    auto content = [&](std::optional<FontObfuscationKey> key) { return std::make_shared<CPackageContent>(archive_, entry, key); };
    switch (kind) {
    case ResourceKind::Font:
        if (type == kTypeObfuscatedFont || (type.empty() && extension == "odttf")) {
            const auto key = FontObfuscationKeyOf(name);
            if (!key)
                Fail(name, "an obfuscated font whose name is not a GUID, so it cannot be restored");
            slot.Attach(static_cast<IPartFont*>(new CFontPart(entry->name, content(key), std::string(kTypeFont), Font_Obfusticate)));
        } else {
            slot.Attach(static_cast<IPartFont*>(new CFontPart(entry->name, content(std::nullopt), type.empty() ? std::string(kTypeFont) : type, Font_Normal)));
        }
        break;
    case ResourceKind::Image:
        slot.Attach(static_cast<IPartImage*>(new CImagePart(entry->name, content(std::nullopt), type.empty() ? ImageTypeOf(extension) : type)));
        break;
    case ResourceKind::ColorProfile:
        slot.Attach(static_cast<IPartColorProfile*>(new CPlainPart<IPartColorProfile>(entry->name, content(std::nullopt))));
        break;
    case ResourceKind::ResourceDictionary:
        slot.Attach(static_cast<IPartResourceDictionary*>(new CPlainPart<IPartResourceDictionary>(entry->name, content(std::nullopt))));
        break;
    case ResourceKind::Other:
        slot.Attach(static_cast<IPartBase*>(new CPlainPart<IPartBase>(entry->name, content(std::nullopt))));
        break;
    }
    return slot;
}
