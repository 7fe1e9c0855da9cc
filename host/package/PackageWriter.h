#pragma once
// Writing the parts a chain sends as an XPS package.
#include <string>

#include "host/package/PackageError.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

// A consumer that writes a package to path (created or truncated here). Parts are written as they
// arrive: every page with its relationships as soon as it is sent, each resource and ticket once
// by name however many pages use it (two different parts of one name with different contents are
// an error), and at CloseSender the regenerated FixedDocument parts (listing exactly the pages
// sent), the FixedDocumentSequence, the package relationships, [Content_Types].xml and the ZIP
// directory. A font that asks for Font_Obfusticate is written as an obfuscated (ODTTF) part keyed
// by the GUID of its file name, which it must carry. Output is deterministic (parts in order of
// arrival, fixed time stamps, fast deflate). Pages sent before any document or sequence get a
// default one. The file is complete only once CloseSender succeeded; after a failure the caller
// removes it (the writer knows nothing of temporary names). Failures are recorded for
// LastPackageError. GetNewEmptyPart is CreateEmptyPart. Used from one thread at a time.
HRESULT CreateXpsPackageWriter(const std::string& path, ComPtr<IXpsDocumentConsumer>* writer, PackageError* error);
