#pragma once
// The parts of an XPS job as the pipeline hands them from filter to filter. Part names (URIs) are
// absolute package paths in UTF-8, such as "/Documents/1/Pages/1.fpage".
#include <string>

#include "platform/pipeline/PrintStreams.h"

enum EXpsCompressionOptions { Compression_NotCompressed = 0, Compression_Normal = 1, Compression_Small = 2, Compression_Fast = 3 };
enum EXpsFontRestriction { Xps_Restricted_Font_Installable = 0, Xps_Restricted_Font_NoEmbedding = 2,
                           Xps_Restricted_Font_PreviewPrint = 4, Xps_Restricted_Font_Editable = 8 };
enum EXpsFontOptions { Font_Normal = 0, Font_Obfusticate = 1 };

struct IPartBase : IUnknown {
    static constexpr IID kIid = GuidLiteral("{CBB46EEB-03F0-43EE-9C70-1FD3A1AA954A}");
    virtual HRESULT GetUri(std::string* uri) = 0;
    // A new reader positioned at the start of the part's content.
    virtual HRESULT GetStream(IPrintReadStream** stream) = 0;
    virtual HRESULT GetPartCompression(EXpsCompressionOptions* compression) = 0;
    virtual HRESULT SetPartCompression(EXpsCompressionOptions compression) = 0;

protected:
    ~IPartBase() = default;
};

struct IPartPrintTicket : IPartBase {
    static constexpr IID kIid = GuidLiteral("{2F1336EB-1B85-4CFD-B8E8-047EA3DAC4E2}");

protected:
    ~IPartPrintTicket() = default;
};

struct IPartFont : IPartBase {
    static constexpr IID kIid = GuidLiteral("{4EFD25D0-5FC4-49C4-87C9-2396F4EFEC83}");
    virtual HRESULT GetFontProperties(std::string* contentType, EXpsFontOptions* options) = 0;
    virtual HRESULT SetFontContent(const char* contentType) = 0;
    // Font_Obfusticate asks the package writer for an obfuscated (ODTTF) font part.
    virtual HRESULT SetFontOptions(EXpsFontOptions options) = 0;

protected:
    ~IPartFont() = default;
};

struct IPartImage : IPartBase {
    static constexpr IID kIid = GuidLiteral("{4051CA8E-0ED0-4E2B-B7B9-38AE009DB994}");
    virtual HRESULT GetImageProperties(std::string* contentType) = 0;
    virtual HRESULT SetImageContent(const char* contentType) = 0;

protected:
    ~IPartImage() = default;
};

struct IPartColorProfile : IPartBase {
    static constexpr IID kIid = GuidLiteral("{5FC3731B-B235-4BFE-AFAD-EBC96D624365}");

protected:
    ~IPartColorProfile() = default;
};

struct IPartResourceDictionary : IPartBase {
    static constexpr IID kIid = GuidLiteral("{CFF0FD3E-1E2D-48FE-A8AB-5848B1891A4D}");

protected:
    ~IPartResourceDictionary() = default;
};

struct IPartThumbnail : IPartBase {
    static constexpr IID kIid = GuidLiteral("{FF34DF99-907C-47BD-AF62-D1EE7AB72544}");
    virtual HRESULT GetThumbnailProperties(std::string* contentType) = 0;
    virtual HRESULT SetThumbnailContent(const char* contentType) = 0;

protected:
    ~IPartThumbnail() = default;
};

struct IPartDiscardControl : IPartBase {
    static constexpr IID kIid = GuidLiteral("{A55FB4E0-CD55-499F-997D-E493F8B3DA25}");

protected:
    ~IPartDiscardControl() = default;
};

// Walks the resources of a page: fonts, images, colour profiles, resource dictionaries.
struct IXpsPartIterator : IUnknown {
    static constexpr IID kIid = GuidLiteral("{8A4936E9-E900-4DD0-92B5-13E5FB6A23BE}");
    virtual void Reset() = 0;
    virtual HRESULT Current(std::string* uri, IUnknown** part) = 0;
    virtual BOOL IsDone() = 0;
    virtual void Next() = 0;

protected:
    ~IXpsPartIterator() = default;
};

struct IFixedPage : IPartBase {
    static constexpr IID kIid = GuidLiteral("{C6803FBC-B4DD-443A-8E20-39473A5EA2CE}");
    // Fails with ResultNotFound when the page has no ticket of its own.
    virtual HRESULT GetPrintTicket(IPartPrintTicket** ticket) = 0;
    virtual HRESULT SetPrintTicket(IPartPrintTicket* ticket) = 0;
    // A resource of the page by its absolute name; ResultNotFound when the page has none of that name.
    virtual HRESULT GetPagePart(const char* uri, IUnknown** part) = 0;
    // Replaces the page's markup: what is written becomes the page content once the stream is closed.
    virtual HRESULT GetWriteStream(IPrintWriteStream** stream) = 0;
    // Adds a resource (font, image, profile, dictionary) to the page.
    virtual HRESULT SetPagePart(IUnknown* part) = 0;
    virtual HRESULT DeleteResource(const char* uri) = 0;
    virtual HRESULT GetXpsPartIterator(IXpsPartIterator** iterator) = 0;

protected:
    ~IFixedPage() = default;
};

struct IFixedDocument : IUnknown {
    static constexpr IID kIid = GuidLiteral("{51524820-F1B7-42D0-BD27-615109DAA6C1}");
    virtual HRESULT GetUri(std::string* uri) = 0;
    virtual HRESULT GetPrintTicket(IPartPrintTicket** ticket) = 0;
    virtual HRESULT SetPrintTicket(IPartPrintTicket* ticket) = 0;

protected:
    ~IFixedDocument() = default;
};

struct IFixedDocumentSequence : IUnknown {
    static constexpr IID kIid = GuidLiteral("{084505B7-4C28-433B-B6E2-E1E933988B53}");
    virtual HRESULT GetUri(std::string* uri) = 0;
    virtual HRESULT GetPrintTicket(IPartPrintTicket** ticket) = 0;
    virtual HRESULT SetPrintTicket(IPartPrintTicket* ticket) = 0;

protected:
    ~IFixedDocumentSequence() = default;
};

// The package itself: the first part of every job.
struct IXpsDocument : IUnknown {
    static constexpr IID kIid = GuidLiteral("{54809441-863C-4411-8229-A862DFDE6901}");
    virtual HRESULT GetThumbnail(IPartThumbnail** thumbnail) = 0;
    virtual HRESULT SetThumbnail(IPartThumbnail* thumbnail) = 0;

protected:
    ~IXpsDocument() = default;
};
