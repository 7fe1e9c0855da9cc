#pragma once
// The consumer that writes an XPS package; see CreateXpsPackageWriter.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/ComBase.h"
#include "host/package/FontObfuscation.h"
#include "host/package/PackageErrorSource.h"
#include "host/package/ZipWriter.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CXpsPackageWriter final : public CComBase<IXpsDocumentConsumer>, public IPackageErrorSource {
public:
    HRESULT Open(const std::string& path, PackageError* error);

    HRESULT SendXpsUnknown(IUnknown* part) override;
    HRESULT SendXpsDocument(IXpsDocument* document) override;
    HRESULT SendFixedDocumentSequence(IFixedDocumentSequence* sequence) override;
    HRESULT SendFixedDocument(IFixedDocument* document) override;
    HRESULT SendFixedPage(IFixedPage* page) override;
    HRESULT CloseSender() override;
    HRESULT GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream) override;
    PackageError FirstError() const override { return diagnostics_.First(); }

private:
    // A shared part written. Large parts keep their object so that the same object sent again is
    // known without reading it; small ones (tickets) keep only their hash, so that parts made for
    // every page do not stay alive for the whole job.
    struct WrittenPart {
        ComPtr<IUnknown> identity;
        std::uint64_t hash = 0;
    };
    static constexpr std::uint64_t kKeepObjectFrom = 64 * 1024;
    struct DocumentRecord {
        std::string name;
        std::string ticket;  // empty when none
        std::vector<std::string> pages;
    };
    struct RelationshipRecord {
        std::string type;
        std::string target;
    };

    // Runs a send: refuses after a failure or close, records failures.
    template <class Body>
    HRESULT Guarded(const char* what, Body&& body);
    [[noreturn]] void Fail(HRESULT hr, const std::string& part, const std::string& message);

    void WritePage(IFixedPage* page);
    void StartDocument(const std::string& name, IPartPrintTicket* ticket);
    void FinishDocument();
    // Writes a resource or ticket once by name; gives its name.
    std::string WriteShared(IUnknown* part);
    // Streams part's content into a new entry; *written (optional) gets the FNV-1a hash of the plain
    // bytes and, for a large part, the part itself.
    void WriteContent(const std::string& name, IPartBase* part, const std::string& contentType,
                      const std::optional<FontObfuscationKey>& key, WrittenPart* written = nullptr);
    // The FNV-1a hash of a part's content.
    std::uint64_t HashContent(const std::string& name, IPartBase* part);
    void WriteText(const std::string& name, const std::string& contentType, const std::string& text);
    void WriteRelationships(const std::string& source, const std::vector<RelationshipRecord>& relationships);
    std::string ContentTypeOf(IUnknown* part, const std::string& name, std::optional<FontObfuscationKey>* key);
    void RegisterType(const std::string& name, const std::string& contentType);
    std::string UniqueName(const std::string& wanted, const char* fallback);
    std::string Family() const;

    CZipWriter zip_;
    CPackageDiagnostics diagnostics_;
    HRESULT failure_ = S_OK;
    bool closed_ = false;
    bool familyKnown_ = false;
    bool openXps_ = false;
    std::string sequence_;
    std::string sequenceTicket_;
    std::string thumbnail_;
    std::vector<std::string> documents_;
    DocumentRecord current_;
    bool inDocument_ = false;
    std::map<std::string, WrittenPart> shared_;  // resources and tickets by part key
    std::set<std::string> taken_;                // every part name key written or reserved
    std::map<std::string, std::string> defaults_;                 // content type by extension
    std::vector<std::pair<std::string, std::string>> overrides_;  // part name, content type
};
