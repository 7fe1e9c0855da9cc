#include "framework/PartUri.h"

#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

std::string PartUri(IUnknown* part)
{
    std::string uri;
    ComPtr<IPartBase> base;
    ComPtr<IFixedDocument> document;
    ComPtr<IFixedDocumentSequence> sequence;
    if (SUCCEEDED(QueryTo(part, &base)))
        base->GetUri(&uri);
    else if (SUCCEEDED(QueryTo(part, &document)))
        document->GetUri(&uri);
    else if (SUCCEEDED(QueryTo(part, &sequence)))
        sequence->GetUri(&uri);
    return uri;
}
