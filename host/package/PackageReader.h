#pragma once
// Reading an XPS or OpenXPS package as the parts of one print job.
#include <string>

#include "host/package/PackageError.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

// Opens the package at path and gives a provider that yields, in job order, the IXpsDocument, the
// IFixedDocumentSequence, then each IFixedDocument followed by its IFixedPage parts, and finally
// success with a null part.
//
// The ZIP directory, content types and package relationships are read here; bad files (not a ZIP,
// truncated, entry names escaping the package, absurd compression ratios or sizes, no
// FixedDocumentSequence) fail here with *error (optional) naming the part.
// Documents and pages are read as they are yielded: a page's relationships and markup are scanned
// when GetXpsPart reaches it (missing page, markup that is not well-formed, a reference to a
// missing part fail that call), and part contents are inflated again, streamed, only when someone
// asks for a stream, so memory follows the pages in flight. Resources and tickets shared by pages
// are the same objects on every page. Failures after opening are recorded for LastPackageError.
//
// The provider and its parts may be used from any thread; GetXpsPart from one thread at a time.
HRESULT OpenXpsPackage(const std::string& path, ComPtr<IXpsDocumentProvider>* provider, PackageError* error);
