#pragma once
// Queries and edits of a PrintTicket or PrintCapabilities document by Print Schema names, with the
// namespace prefixes this particular document declares on its root. Made on the stack over a DOM
// for one task; holds a reference to the DOM for its life.
//
// Prefixes are kept with their trailing colon ("psk:") so that they go straight in front of a
// local name; an undeclared one is empty. Absence is S_FALSE from the node operations and
// ResultNotFound from the named queries: callers keep their defaults and go on.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/ComPtr.h"
#include "platform/xml/XmlDocument.h"

class CTicketDocument {
public:
    // rootName is "PrintTicket" or "PrintCapabilities". Raises CXDException: E_PENDING without a
    // DOM, E_FAIL when the root does not declare the framework namespace with a prefix.
    CTicketDocument(std::string_view rootName, std::string_view privateNamespaceUri, CXmlDocument* document);

    CXmlDocument* Document() const { return document_.Get(); }

    // Reading.
    HRESULT SelectNode(std::string_view xpath, XmlNode* node) const;  // S_FALSE, null node: no match
    HRESULT SelectNodes(std::string_view xpath, std::vector<XmlNode>* nodes) const;
    HRESULT SelectRoot(XmlNode* root) const;
    HRESULT RemoveNode(XmlNode node);  // S_FALSE when it has no parent
    HRESULT GetAttributeText(XmlNode node, std::string_view name, std::string* text) const;  // S_FALSE: absent
    HRESULT NodeExists(std::string_view xpath) const;                                         // S_OK or ResultNotFound
    // The value of a Property, ScoredProperty or ParameterInit: its Value, or the ParameterInit its
    // ParameterRef names. S_FALSE when the node or its value is absent; the out value is then untouched.
    HRESULT GetValueText(std::string_view xpath, std::string* text) const;
    // The value text as a decimal integer: leading blanks and a sign allowed, reading stops at the
    // first non-digit, no digits give 0, out of range gives the nearest 32-bit limit.
    HRESULT GetValueInt(std::string_view xpath, std::int32_t* value) const;
    HRESULT FeatureExists(std::string_view name) const;  // keyword feature; S_OK or ResultNotFound
    // The selected option of a feature (its name, or the Value of its OptionName scored property)
    // with the known prefix removed; isPrivate tells it was the private prefix. ResultNotFound when absent.
    HRESULT GetOptionName(std::string_view prefix, std::string_view feature, std::string* name, bool* isPrivate) const;
    // The same for a feature nested in a feature, from the option's name attribute only.
    HRESULT GetSubFeatureOptionName(std::string_view prefix, std::string_view feature, std::string_view subPrefix,
                                    std::string_view subFeature, std::string* name, bool* isPrivate) const;
    // A keyword feature's keyword scored property. ResultNotFound when absent.
    HRESULT GetScoredPropertyText(std::string_view feature, std::string_view property, std::string* text) const;
    HRESULT GetScoredPropertyInt(std::string_view feature, std::string_view property, std::int32_t* value) const;
    // A private Property's value, selected anywhere in the document by its name alone.
    // ResultNotFound when the property or its value is absent.
    HRESULT GetPrivatePropertyText(std::string_view name, std::string* text) const;
    HRESULT GetPrivatePropertyInt(std::string_view name, std::int32_t* value) const;
    // The index of text in words (exact comparison), -1 when it is none of them.
    static int WordIndex(std::string_view text, std::span<const std::string_view> words);
    // name without privatePrefix (isPrivate set) or pskPrefix; other names are left as they are.
    std::string StripKnownPrefix(std::string_view name, bool* isPrivate) const;

    // Editing. Removals of absent elements succeed.
    HRESULT RemoveFeature(std::string_view name);         // every such keyword Feature and the ParameterInits it references
    HRESULT RemovePrivateFeature(std::string_view name);  // the same for a private feature
    HRESULT RemovePrivateProperty(std::string_view name);  // the first matching Property
    HRESULT RemoveParameterInit(std::string_view name);   // the first matching keyword ParameterInit

    // Created elements are unattached; the caller appends them (AppendChild) where they belong,
    // usually to SelectRoot's element or to a Feature. Unappended ones are freed with the DOM.
    HRESULT CreateElement(std::string_view qualifiedName, XmlNode* element);  // in the framework namespace
    HRESULT SetAttribute(XmlNode element, std::string_view qualifiedName, std::string_view namespaceUri,
                         std::string_view value);  // namespaceUri empty: none
    HRESULT AppendChild(XmlNode parent, XmlNode child);
    HRESULT CreateFeature(std::string_view prefix, std::string_view name, XmlNode* feature);
    // An empty name gives an unnamed Option; in capabilities it is also constrained to pskPrefix "None".
    HRESULT CreateOption(std::string_view prefix, std::string_view name, XmlNode* option);
    HRESULT CreateFeatureOption(bool isPrivate, std::string_view featureName, XmlNode* feature, XmlNode* option);
    HRESULT CreateFeatureWithOption(bool featureIsPrivate, std::string_view featureName, bool optionIsPrivate,
                                    std::string_view optionName, XmlNode* feature, XmlNode* option);
    HRESULT CreateProperty(std::string_view prefix, std::string_view name, XmlNode* property);
    HRESULT CreateScoredProperty(std::string_view prefix, std::string_view name, XmlNode* property);
    // type is an XML Schema type name ("integer", "string").
    HRESULT CreatePropertyValue(std::string_view prefix, std::string_view name, std::string_view type,
                                std::string_view text, XmlNode* property);
    HRESULT CreateScoredPropertyValue(std::string_view prefix, std::string_view name, std::string_view type,
                                      std::string_view text, XmlNode* property);
    HRESULT CreateIntegerPropertyValue(std::string_view prefix, std::string_view name, std::int32_t value,
                                       XmlNode* property);
    HRESULT CreateIntegerScoredProperty(std::string_view prefix, std::string_view name, std::int32_t value,
                                        XmlNode* property);
    HRESULT CreateStringScoredProperty(std::string_view prefix, std::string_view name, std::string_view text,
                                       XmlNode* property);
    HRESULT CreateScoredPropertyWithChild(std::string_view prefix, std::string_view name, XmlNode child,
                                          XmlNode* property);
    // A ParameterRef and a ParameterInit both named prefix + name; the ParameterInit holds a typed Value.
    HRESULT CreateParameterPair(std::string_view prefix, std::string_view name, std::string_view type,
                                std::string_view text, XmlNode* reference, XmlNode* init);
    HRESULT CreateIntegerParameter(std::string_view name, std::int32_t value, XmlNode* reference, XmlNode* init);
    // A private parameter is only initialised: the ParameterInit alone.
    HRESULT CreatePrivateIntegerParameter(std::string_view name, std::int32_t value, XmlNode* init);

    bool isCapabilities = false;
    std::string xsdPrefix;
    std::string xsiPrefix;
    std::string psfPrefix;
    std::string pskPrefix;
    std::string privatePrefix;
    bool hasPrivatePrefix = false;

private:
    HRESULT FindPrefix(std::string_view namespaceUri, std::string* prefix) const;
    HRESULT RemoveFeatureWithPrefix(std::string_view prefix, std::string_view name);
    HRESULT RemoveFirst(std::string_view xpath);
    HRESULT CreateNamed(std::string_view element, std::string_view prefix, std::string_view name, XmlNode* made);
    HRESULT CreateValue(std::string_view type, std::string_view text, XmlNode* value);
    HRESULT CreateNamedWithValue(std::string_view element, std::string_view prefix, std::string_view name,
                                 std::string_view type, std::string_view text, XmlNode* made);

    ComPtr<CXmlDocument> document_;
    std::string rootName_;
    std::string privateNamespace_;
};
