#include "platform/xml/XmlTree.h"

#include <libxml/SAX2.h>

#include <new>

#include "platform/xml/XmlParse.h"

XmlDocHolder ParseXmlTree(std::string_view text, std::string* error)
{
    try {
        xmlSAXHandler sax;
        xmlSAXVersion(&sax, 2);
        CXmlParse parse(sax, XmlDocumentType::kRefused);
        const HRESULT hr = parse.Run(text);
        XmlDocHolder doc(SUCCEEDED(hr) ? parse.TakeDocument() : nullptr);
        *error = doc ? std::string() : parse.Error();
        if (!doc && error->empty())
            *error = "out of memory";
        return doc;
    } catch (const std::bad_alloc&) {
        *error = "out of memory";
        return nullptr;
    }
}
