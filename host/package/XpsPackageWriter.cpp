#include "host/package/XpsPackageWriter.h"

#include <cstring>

#include "framework/XDException.h"
#include "host/package/PartFactory.h"
#include "host/package/PartName.h"
#include "host/package/XpsNames.h"

namespace {

using namespace xps_names;

constexpr HRESULT kIllegalMethodCall = MakeHresult(0x8000000E);
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
constexpr ULONG kChunk = 65536;

std::uint64_t Fnv1a(std::uint64_t hash, const std::uint8_t* data, ULONG size)
{
    for (ULONG i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * kFnvPrime;
    return hash;
}

std::string EscapeAttribute(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string TypeByExtension(const std::string& extension)
{
    static const std::map<std::string, std::string_view> types = {
        {"fpage", kTypePage},       {"fdoc", kTypeDocument},     {"fdseq", kTypeSequence},
        {"dict", kTypeDictionary},  {"icc", kTypeColorProfile},  {"icm", kTypeColorProfile},
        {"ttf", kTypeFont},         {"otf", kTypeFont},          {"odttf", kTypeObfuscatedFont},
        {"png", "image/png"},       {"jpg", "image/jpeg"},       {"jpeg", "image/jpeg"},
        {"tif", "image/tiff"},      {"tiff", "image/tiff"},      {"wdp", "image/vnd.ms-photo"},
        {"jxr", "image/vnd.ms-photo"}, {"xml", kTypePrintTicket}};
    const auto found = types.find(extension);
    return std::string(found == types.end() ? kTypeOctetStream : found->second);
}

// The part's name; E_INVALIDARG for a part that is not one.
std::string UriOf(IUnknown* part)
{
    ComPtr<IPartBase> base;
    ThrowIfFailed(QueryTo(part, &base));
    std::string uri;
    ThrowIfFailed(base->GetUri(&uri));
    return uri;
}

} // namespace

HRESULT CXpsPackageWriter::Open(const std::string& path, PackageError* error)
{
    std::string why;
    const HRESULT hr = zip_.Open(path, &why);
    if (FAILED(hr)) {
        diagnostics_.Record(hr, path, "cannot be created: " + why);
        if (error)
            *error = diagnostics_.First();
        failure_ = hr;
    }
    return hr;
}

void CXpsPackageWriter::Fail(HRESULT hr, const std::string& part, const std::string& message)
{
    throw CXDException(diagnostics_.Record(hr, part, message));
}

template <class Body>
HRESULT CXpsPackageWriter::Guarded(const char* what, Body&& body)
{
    if (FAILED(failure_))
        return failure_;
    if (closed_)
        return kIllegalMethodCall;
    const HRESULT hr = GuardResult(body);
    if (FAILED(hr)) {
        diagnostics_.Record(hr, "", std::string(what) + " failed");  // kept only when nothing more precise came first
        failure_ = hr;
    }
    return hr;
}

std::string CXpsPackageWriter::Family() const { return std::string(openXps_ ? kOpenXpsNamespace : kXpsNamespace); }

std::string CXpsPackageWriter::UniqueName(const std::string& wanted, const char* fallback)
{
    std::string name = part_name::IsValid(wanted) ? wanted : std::string(fallback);
    if (taken_.insert(part_name::Key(name)).second)
        return name;
    const std::size_t slash = name.rfind('/');
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < slash)
        dot = name.size();
    for (unsigned n = 2;; ++n) {
        std::string candidate = name.substr(0, dot) + "-" + std::to_string(n) + name.substr(dot);
        if (taken_.insert(part_name::Key(candidate)).second)
            return candidate;
    }
}

void CXpsPackageWriter::RegisterType(const std::string& name, const std::string& contentType)
{
    const std::string extension = part_name::Extension(name);
    if (!extension.empty()) {
        const auto [slot, added] = defaults_.emplace(extension, contentType);
        if (added || slot->second == contentType)
            return;
    }
    overrides_.emplace_back(name, contentType);
}

void CXpsPackageWriter::WriteContent(const std::string& name, IPartBase* part, const std::string& contentType,
                                     const std::optional<FontObfuscationKey>& key, WrittenPart* written)
{
    ComPtr<IPrintReadStream> stream;
    HRESULT hr = part->GetStream(stream.Put());
    if (hr == ResultNotAvailable)
        Fail(hr, name, "was sent before the stream filling it was closed");
    if (FAILED(hr))
        Fail(hr, name, "its content cannot be read");
    EXpsCompressionOptions compression = Compression_Normal;
    part->GetPartCompression(&compression);
    if (FAILED(hr = zip_.BeginEntry(std::string_view(name).substr(1), compression != Compression_NotCompressed)))
        Fail(hr, name, "cannot be written: " + zip_.SystemError());
    std::uint64_t hash = kFnvOffset;
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> buffer(kChunk);
    for (;;) {
        ULONG read = 0;
        BOOL end = 0;
        if (FAILED(hr = stream->ReadBytes(buffer.data(), kChunk, &read, &end)))
            Fail(hr, name, "its content cannot be read");
        if (written)
            hash = Fnv1a(hash, buffer.data(), read);
        if (!familyKnown_ && contentType == kTypePage) {
            familyKnown_ = true;
            openXps_ = std::string_view(reinterpret_cast<const char*>(buffer.data()), read).find(kOpenXpsNamespace) != std::string_view::npos;
        }
        if (key)
            ApplyFontObfuscation(*key, offset, buffer.data(), read);
        offset += read;
        if (read && FAILED(hr = zip_.Write(buffer.data(), read)))
            Fail(hr, name, "cannot be written: " + zip_.SystemError());
        if (end || read == 0)
            break;
    }
    if (FAILED(hr = zip_.EndEntry()))
        Fail(hr, name, "cannot be written: " + zip_.SystemError());
    RegisterType(name, contentType);
    if (written)
        written->hash = hash;
    if (written && offset >= kKeepObjectFrom)
        ThrowIfFailed(QueryTo(part, &written->identity));
}

std::uint64_t CXpsPackageWriter::HashContent(const std::string& name, IPartBase* part)
{
    ComPtr<IPrintReadStream> stream;
    if (FAILED(part->GetStream(stream.Put())))
        Fail(ResultNotAvailable, name, "its content cannot be read");
    std::uint64_t hash = kFnvOffset;
    std::vector<std::uint8_t> buffer(kChunk);
    for (;;) {
        ULONG read = 0;
        BOOL end = 0;
        if (const HRESULT hr = stream->ReadBytes(buffer.data(), kChunk, &read, &end); FAILED(hr))
            Fail(hr, name, "its content cannot be read");
        hash = Fnv1a(hash, buffer.data(), read);
        if (end || read == 0)
            return hash;
    }
}

void CXpsPackageWriter::WriteText(const std::string& name, const std::string& contentType, const std::string& text)
{
    HRESULT hr = zip_.BeginEntry(std::string_view(name).substr(1), true);
    if (SUCCEEDED(hr))
        hr = zip_.Write(text.data(), text.size());
    if (SUCCEEDED(hr))
        hr = zip_.EndEntry();
    if (FAILED(hr))
        Fail(hr, name, "cannot be written: " + zip_.SystemError());
    if (!contentType.empty())
        RegisterType(name, contentType);
}

void CXpsPackageWriter::WriteRelationships(const std::string& source, const std::vector<RelationshipRecord>& relationships)
{
    if (relationships.empty())
        return;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"";
    xml += kRelationshipsNamespace;
    xml += "\">";
    for (std::size_t i = 0; i < relationships.size(); ++i) {
        xml += "<Relationship Id=\"R" + std::to_string(i) + "\" Type=\"" + EscapeAttribute(relationships[i].type) +
               "\" Target=\"" + EscapeAttribute(relationships[i].target) + "\"/>";
    }
    xml += "</Relationships>";
    const std::string name = part_name::RelationshipsOf(source);
    taken_.insert(part_name::Key(name));
    WriteText(name, std::string(kTypeRelationships), xml);
}

std::string CXpsPackageWriter::ContentTypeOf(IUnknown* part, const std::string& name, std::optional<FontObfuscationKey>* key)
{
    std::string type;
    ComPtr<IPartFont> font;
    ComPtr<IPartImage> image;
    ComPtr<IPartThumbnail> thumbnail;
    ComPtr<IUnknown> other;
    if (SUCCEEDED(QueryTo(part, &font))) {
        EXpsFontOptions options = Font_Normal;
        ThrowIfFailed(font->GetFontProperties(&type, &options));
        if (options == Font_Obfusticate) {
            *key = FontObfuscationKeyOf(name);
            if (!*key)
                Fail(E_INVALIDARG, name, "the font asks for obfuscation but its file name is not a GUID");
            return std::string(kTypeObfuscatedFont);
        }
        if (type == kTypeObfuscatedFont)
            Fail(E_INVALIDARG, name, "the font claims obfuscated content without asking for obfuscation");
    } else if (SUCCEEDED(QueryTo(part, &image))) {
        ThrowIfFailed(image->GetImageProperties(&type));
    } else if (SUCCEEDED(QueryTo(part, &thumbnail))) {
        ThrowIfFailed(thumbnail->GetThumbnailProperties(&type));
    } else if (SUCCEEDED(part->QueryInterface(IPartPrintTicket::kIid, other.PutVoid()))) {
        return std::string(kTypePrintTicket);
    } else if (SUCCEEDED(part->QueryInterface(IPartColorProfile::kIid, other.PutVoid()))) {
        return std::string(kTypeColorProfile);
    } else if (SUCCEEDED(part->QueryInterface(IPartResourceDictionary::kIid, other.PutVoid()))) {
        return std::string(kTypeDictionary);
    }
    return type.empty() ? TypeByExtension(part_name::Extension(name)) : type;
}

std::string CXpsPackageWriter::WriteShared(IUnknown* part)
{
    const std::string name = UriOf(part);
    if (!part_name::IsValid(name))
        Fail(E_INVALIDARG, name, "is not a valid part name");
    ComPtr<IUnknown> identity;
    ThrowIfFailed(QueryTo(part, &identity));
    ComPtr<IPartBase> base;
    ThrowIfFailed(QueryTo(part, &base));
    const std::string key = part_name::Key(name);
    if (const auto found = shared_.find(key); found != shared_.end()) {
        if (found->second.identity.Get() == identity.Get())
            return name;
        // Another object of the same name: the same bytes are the same resource.
        const std::uint64_t hash = HashContent(name, base.Get());
        if (hash != found->second.hash)
            Fail(E_INVALIDARG, name, "two different parts of this name were sent");
        return name;
    }
    if (!taken_.insert(key).second)
        Fail(E_INVALIDARG, name, "a resource has the name of another part of the package");
    std::optional<FontObfuscationKey> obfuscation;
    const std::string contentType = ContentTypeOf(part, name, &obfuscation);
    WrittenPart written;
    WriteContent(name, base.Get(), contentType, obfuscation, &written);
    shared_.emplace(key, std::move(written));
    return name;
}

HRESULT CXpsPackageWriter::SendXpsUnknown(IUnknown* part)
{
    // Parts the chain does not know (story fragments, signatures) have no place in the regenerated
    // package: nothing refers to them any more.
    return part ? S_OK : E_POINTER;
}

HRESULT CXpsPackageWriter::SendXpsDocument(IXpsDocument* document)
{
    if (!document)
        return E_POINTER;
    return Guarded("writing the package thumbnail", [&] {
        ComPtr<IPartThumbnail> thumbnail;
        if (SUCCEEDED(document->GetThumbnail(thumbnail.Put())) && thumbnail)
            thumbnail_ = WriteShared(thumbnail.Get());
        return S_OK;
    });
}

HRESULT CXpsPackageWriter::SendFixedDocumentSequence(IFixedDocumentSequence* sequence)
{
    if (!sequence)
        return E_POINTER;
    return Guarded("writing the FixedDocumentSequence", [&] {
        if (sequence_.empty()) {
            std::string uri;
            sequence->GetUri(&uri);
            sequence_ = UniqueName(uri, "/FixedDocumentSequence.fdseq");
        }
        ComPtr<IPartPrintTicket> ticket;
        if (SUCCEEDED(sequence->GetPrintTicket(ticket.Put())) && ticket)
            sequenceTicket_ = WriteShared(ticket.Get());
        return S_OK;
    });
}

void CXpsPackageWriter::StartDocument(const std::string& name, IPartPrintTicket* ticket)
{
    FinishDocument();
    current_ = DocumentRecord{UniqueName(name, "/Documents/1/FixedDocument.fdoc"), {}, {}};
    if (ticket)
        current_.ticket = WriteShared(ticket);
    inDocument_ = true;
}

void CXpsPackageWriter::FinishDocument()
{
    if (!inDocument_)
        return;
    inDocument_ = false;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FixedDocument xmlns=\"" + Family() + "\">";
    for (const std::string& page : current_.pages)
        xml += "<PageContent Source=\"" + EscapeAttribute(page) + "\"/>";
    xml += "</FixedDocument>";
    WriteText(current_.name, std::string(kTypeDocument), xml);
    if (!current_.ticket.empty())
        WriteRelationships(current_.name, {{RelationshipType(Family(), kRelPrintTicket), current_.ticket}});
    documents_.push_back(current_.name);
    current_ = {};
}

HRESULT CXpsPackageWriter::SendFixedDocument(IFixedDocument* document)
{
    if (!document)
        return E_POINTER;
    return Guarded("writing a FixedDocument", [&] {
        std::string uri;
        document->GetUri(&uri);
        ComPtr<IPartPrintTicket> ticket;
        if (FAILED(document->GetPrintTicket(ticket.Put())))
            ticket.Reset();
        StartDocument(uri, ticket.Get());
        return S_OK;
    });
}

void CXpsPackageWriter::WritePage(IFixedPage* page)
{
    if (!inDocument_)
        StartDocument({}, nullptr);
    std::string uri;
    ThrowIfFailed(page->GetUri(&uri));
    const std::string name = UniqueName(uri, "/Documents/1/Pages/1.fpage");
    // Resources first: a failing resource fails the page before its markup is out.
    std::vector<std::string> resources;
    ComPtr<IXpsPartIterator> iterator;
    ThrowIfFailed(page->GetXpsPartIterator(iterator.Put()));
    for (iterator->Reset(); !iterator->IsDone(); iterator->Next()) {
        std::string resourceUri;
        ComPtr<IUnknown> resource;
        ThrowIfFailed(iterator->Current(&resourceUri, resource.Put()));
        if (resource)
            resources.push_back(WriteShared(resource.Get()));
    }
    std::string ticket;
    ComPtr<IPartPrintTicket> pageTicket;
    if (SUCCEEDED(page->GetPrintTicket(pageTicket.Put())) && pageTicket)
        ticket = WriteShared(pageTicket.Get());
    WriteContent(name, page, std::string(kTypePage), std::nullopt);
    std::vector<RelationshipRecord> relationships;
    for (const std::string& resource : resources)
        relationships.push_back({RelationshipType(Family(), kRelRequiredResource), resource});
    if (!ticket.empty())
        relationships.push_back({RelationshipType(Family(), kRelPrintTicket), ticket});
    WriteRelationships(name, relationships);
    current_.pages.push_back(name);
}

HRESULT CXpsPackageWriter::SendFixedPage(IFixedPage* page)
{
    if (!page)
        return E_POINTER;
    return Guarded("writing a FixedPage", [&] {
        WritePage(page);
        return S_OK;
    });
}

HRESULT CXpsPackageWriter::CloseSender()
{
    if (closed_ && SUCCEEDED(failure_))
        return S_OK;
    const HRESULT hr = Guarded("finishing the package", [&] {
        FinishDocument();
        if (sequence_.empty())
            sequence_ = UniqueName({}, "/FixedDocumentSequence.fdseq");
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FixedDocumentSequence xmlns=\"" + Family() + "\">";
        for (const std::string& document : documents_)
            xml += "<DocumentReference Source=\"" + EscapeAttribute(document) + "\"/>";
        xml += "</FixedDocumentSequence>";
        WriteText(sequence_, std::string(kTypeSequence), xml);
        if (!sequenceTicket_.empty())
            WriteRelationships(sequence_, {{RelationshipType(Family(), kRelPrintTicket), sequenceTicket_}});
        std::vector<RelationshipRecord> root = {{RelationshipType(Family(), kRelFixedRepresentation), sequence_}};
        if (!thumbnail_.empty())
            root.push_back({std::string(kRelThumbnail), thumbnail_});
        WriteRelationships("/", root);

        std::string types = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Types xmlns=\"";
        types += kContentTypesNamespace;
        types += "\">";
        for (const auto& [extension, type] : defaults_)
            types += "<Default Extension=\"" + EscapeAttribute(extension) + "\" ContentType=\"" + EscapeAttribute(type) + "\"/>";
        for (const auto& [name, type] : overrides_)
            types += "<Override PartName=\"" + EscapeAttribute(name) + "\" ContentType=\"" + EscapeAttribute(type) + "\"/>";
        types += "</Types>";
        WriteText("/[Content_Types].xml", {}, types);
        std::string why;
        if (const HRESULT finished = zip_.Finish(&why); FAILED(finished))
            Fail(finished, "", "the package cannot be finished: " + why);
        return S_OK;
    });
    closed_ = true;
    return hr;
}

HRESULT CXpsPackageWriter::GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream)
{
    return CreateEmptyPart(uri, iid, part, stream);
}
