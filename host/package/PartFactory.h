#pragma once
// New parts made in memory: pages, tickets and resources that filters create, and the document
// parts of a job that a host or tool makes itself.
#include "platform/pipeline/XpsParts.h"

// A new empty part named uri (an absolute part name) of the kind iid asks for: IFixedPage,
// IPartPrintTicket, IPartFont, IPartImage, IPartColorProfile, IPartResourceDictionary or
// IPartThumbnail (IPartBase gives a generic part). *part answers iid and IPartBase; *stream fills
// its content, which is complete once the stream is closed (a stream read before then fails with
// ResultNotAvailable). E_NOINTERFACE for another iid, E_INVALIDARG for a name that is not absolute
// or escapes the package.
HRESULT CreateEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream);

// The parts above the pages, for hosts and tools that make a job rather than read one: a package
// (optionally with a thumbnail), a FixedDocumentSequence and a FixedDocument named uri, each with an
// optional print ticket (null for none).
HRESULT CreateXpsDocument(IPartThumbnail* thumbnail, IXpsDocument** document);
HRESULT CreateFixedDocumentSequence(const char* uri, IPartPrintTicket* ticket, IFixedDocumentSequence** sequence);
HRESULT CreateFixedDocument(const char* uri, IPartPrintTicket* ticket, IFixedDocument** document);
