#pragma once
// Yields the parts of a package read in job order: the package, the sequence, then each document
// followed by its pages. Documents and pages are read when reached; resources and tickets are made
// once and shared by every page that uses them.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComBase.h"
#include "host/package/MarkupReferences.h"
#include "host/package/PackageArchive.h"
#include "host/package/PackageErrorSource.h"
#include "host/package/PartIterator.h"
#include "host/package/Relationships.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CPackageProvider final : public CComBase<IXpsDocumentProvider>, public IPackageErrorSource {
public:
    explicit CPackageProvider(std::shared_ptr<CPackageArchive> archive) : archive_(std::move(archive)) {}

    // Reads the package relationships and the FixedDocumentSequence; a failure fills *error.
    HRESULT Start(PackageError* error);

    // After a failure every further call gives the same failure.
    HRESULT GetXpsPart(IUnknown** part) override;
    PackageError FirstError() const override { return archive_->Diagnostics().First(); }

private:
    ComPtr<IUnknown> NextPart();
    ComPtr<IUnknown> MakeDocument(const std::string& name);
    ComPtr<IUnknown> MakePage(const std::string& name);
    void AddResource(const std::string& page, const std::string& name, ResourceKind kind, PageResourceList* resources);
    ComPtr<IUnknown> Resource(const std::string& name, ResourceKind kind);
    ComPtr<IPartPrintTicket> Ticket(const std::string& referrer, const std::string& name);
    // The ticket among the relationships of a part; null when it has none.
    ComPtr<IPartPrintTicket> TicketOf(const std::string& part, const std::vector<Relationship>& relationships);
    std::vector<Relationship> RelationshipsOf(const std::string& part);
    const std::vector<MarkupReference>& DictionaryReferences(const std::string& name);
    // The Source attributes of the named elements of part, resolved; a part that is missing or not
    // well-formed fails.
    std::vector<std::string> ReadReferenceList(const std::string& part, std::string_view element);
    ComPtr<IPrintReadStream> Open(const std::string& part);
    ResourceKind KindOf(const std::string& name) const;
    [[noreturn]] void Fail(const std::string& part, const std::string& message);

    std::shared_ptr<CPackageArchive> archive_;
    enum class Stage { Package, Sequence, Document, Page, End } stage_ = Stage::Package;
    std::string sequence_;
    ComPtr<IPartPrintTicket> jobTicket_;
    ComPtr<IPartThumbnail> thumbnail_;
    std::vector<std::string> documents_;
    std::size_t document_ = 0;
    std::vector<std::string> pages_;
    std::size_t page_ = 0;
    HRESULT failure_ = S_OK;

    std::map<std::string, ComPtr<IUnknown>> resources_;                        // by part key
    std::map<std::string, ComPtr<IPartPrintTicket>> tickets_;                  // by part key
    std::map<std::string, std::vector<MarkupReference>> dictionaryReferences_;  // by part key, resolved
};
