#pragma once
// Feeds one page to XPSFEED: the page values first, then every element and attribute of the page
// markup as SAX delivers them, with resource dictionaries named by Source fed in place. Character
// data never reaches the converter. At every end of an ImageBrush the print job is checked for
// cancellation.
#include <cstdint>
#include <string>

#include "framework/SaxHandlerBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsParts.h"
#include "platform/spooler/Spooler.h"
#include "rip/PageDeviceRecord.h"
#include "rip/XpsFeedLibrary.h"

class CMarkupFeeder final : public CSaxHandlerBase {
public:
    // Loads XPSFEED; opens the printer for the cancellation check when printerName is not empty.
    // pageSetup is on for a page and off for a remote dictionary (no page values are sent then, and
    // the dictionary's own Source references are not followed).
    CMarkupFeeder(IFixedPage* page, const PageDeviceRecord& device, void* controlHandle, void* feedHandle,
                  bool pageSetup, const std::string& printerName, std::uint32_t jobId);

    // Feeds part (the page, or a dictionary of it) and answers the parse's result: E_FAIL when
    // XPSFEED is missing or refuses a call, 0x8007003F when the job was cancelled. *errorMessage
    // (optional) receives a reason naming the part or the library.
    HRESULT Feed(IPartBase* part, std::string* errorMessage);

    HRESULT startDocument() override;
    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override;
    HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) override;

private:
    ~CMarkupFeeder() override;

    bool JobCancelled() const;
    HRESULT FeedRemoteDictionary();

    ComPtr<IFixedPage> page;
    XpsFeedLibrary xpsFeed;
    std::string lastElement;
    bool elementOpen = false;
    std::string dictionarySource;
    bool dictionaryPending = false;
    bool pageSetup;
    PageDeviceRecord device;
    void* controlHandle;
    void* feedHandle;
    HPRINTER printer = nullptr;
    std::uint32_t jobId;
};
