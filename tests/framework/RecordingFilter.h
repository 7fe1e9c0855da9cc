#pragma once
// A part-loop filter that records every hook call with the loop's counters, then does what the
// default hook does. A test may make a hook fail or raise.
#include <functional>
#include <string>
#include <vector>

#include "framework/PartLoopFilter.h"

struct HookCall {
    std::string hook;
    int pagesInDocument;
    int documentCount;
    int pagesInJob;
    friend bool operator==(const HookCall&, const HookCall&) = default;
};

inline void PrintTo(const HookCall& call, std::ostream* out)
{
    *out << call.hook << "(" << call.pagesInDocument << "," << call.documentCount << "," << call.pagesInJob << ")";
}

class CRecordingFilter final : public CPartLoopFilter {
public:
    // Runs before the default page hook with the page's number in the job; a failure is the hook's result.
    std::function<HRESULT(int pageInJob)> pageHook;
    // Read only after StartOperation returned.
    std::vector<HookCall> calls;

    void StopGraphics() { gdiplusReady = 0; }
    CPrintTicketStore& TicketStore() { return ticketStore; }
    const std::string& PrinterName() const { return printerName; }
    std::uint32_t JobId() const { return jobId; }
    bool HasClassFactory() const { return static_cast<bool>(classFactory); }
    const std::string& PrivateNamespace() const { return privateNamespace; }

protected:
    HRESULT OnFixedPage(IFixedPage* page) override
    {
        Note("page");
        if (pageHook) {
            const HRESULT hr = pageHook(pagesInJob);
            if (FAILED(hr))
                return hr;
        }
        return CPartLoopFilter::OnFixedPage(page);
    }
    HRESULT OnFixedDocument(IFixedDocument* document) override
    {
        Note("document");
        return CPartLoopFilter::OnFixedDocument(document);
    }
    HRESULT OnFixedDocumentSequence(IFixedDocumentSequence* sequence) override
    {
        Note("sequence");
        return CPartLoopFilter::OnFixedDocumentSequence(sequence);
    }
    HRESULT OnXpsDocument(IXpsDocument* document) override
    {
        Note("package");
        return CPartLoopFilter::OnXpsDocument(document);
    }
    HRESULT OnEndOfParts() override
    {
        Note("end");
        return CPartLoopFilter::OnEndOfParts();
    }

private:
    void Note(const char* hook) { calls.push_back({hook, pagesInDocument, documentCount, pagesInJob}); }
};
