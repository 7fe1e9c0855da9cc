// Every package of the corpus printed through the whole chain (the xpschain command with its five
// filters and the reference converter): the call log holds, page by page, each element and
// attribute of the page markup in the converter's order, with dictionaries named by Source fed in
// place. The expectation comes from an independent reading of the package: libzip for the parts,
// a libxml2 tree walk for the markup.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/rip/CallLog.h"
#include "tests/support/TestPackages.h"

namespace {

namespace fs = std::filesystem;

// A part name ("/a/b.xml") for reference resolved against the part base.
std::string Resolve(const std::string& base, std::string reference)
{
    reference = PercentDecode(reference);
    const std::string joined = reference.starts_with('/') ? reference : base.substr(0, base.rfind('/') + 1) + reference;
    std::vector<std::string> segments;
    std::stringstream stream(joined);
    for (std::string segment; std::getline(stream, segment, '/');) {
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
    }
    std::string out;
    for (const auto& segment : segments)
        out += "/" + segment;
    return out;
}

// The parts of a package, found by name without regard to case.
class Package {
public:
    explicit Package(const fs::path& path) : parts_(ReadPackageParts(path)) {}

    const std::string* Find(const std::string& name) const
    {
        const auto it = parts_.find(name);
        return it == parts_.end() ? nullptr : &it->second;
    }

private:
    PackageParts parts_;
};

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

XmlDoc ParseXml(const std::string& bytes)
{
    return XmlDoc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, XML_PARSE_NONET),
                  &xmlFreeDoc);
}

std::string QualifiedName(const xmlChar* name, xmlNs* ns)
{
    std::string out = ns && ns->prefix ? std::string(reinterpret_cast<const char*>(ns->prefix)) + ":" : "";
    return out + reinterpret_cast<const char*>(name);
}

// The converter's view of 8-bit text: Latin-1 kept, anything above U+00FF empties the text.
std::string EightBit(const std::string& utf8)
{
    // Characters from U+0100 on start with a lead byte of 0xC4 or more; no other byte is that high.
    const bool fits = std::none_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xC4; });
    return fits ? utf8 : std::string();
}

// Attribute values from the element's own attribute list (namespace declarations are not in it).
std::vector<std::pair<std::string, std::string>> Attributes(xmlNode* element)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        xmlChar* value = xmlNodeListGetString(element->doc, attribute->children, 1);
        out.emplace_back(QualifiedName(attribute->name, attribute->ns), value ? reinterpret_cast<char*>(value) : "");
        xmlFree(value);
    }
    return out;
}

class ExpectedFeed {
public:
    explicit ExpectedFeed(const Package& package) : package_(package) {}

    // The calls the converter should see for the part's markup.
    void Part(const std::string& partName, int depth = 0)
    {
        const std::string* bytes = package_.Find(partName);
        if (!bytes) {
            ADD_FAILURE() << "part missing: " << partName;
            return;
        }
        XmlDoc document = ParseXml(*bytes);
        if (!document) {
            ADD_FAILURE() << "part does not parse: " << partName;
            return;
        }
        Element(xmlDocGetRootElement(document.get()), partName, depth);
    }

    std::vector<std::string> calls;

private:
    void Element(xmlNode* element, const std::string& partName, int depth)
    {
        const std::string name = QualifiedName(element->name, element->ns);
        calls.push_back("XPSStartElem " + EightBit(name));
        auto attributes = Attributes(element);
        std::string source;
        for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
            calls.push_back("XPSReadAtt " + EightBit(it->first) + "=" +
                            (it->first == "UnicodeString" ? it->second : EightBit(it->second)));
            if (name == "ResourceDictionary" && it->first == "Source")
                source = it->second;
        }
        bool children = false;
        for (xmlNode* child = element->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                children = true;
                Element(child, partName, depth);
            }
        }
        calls.push_back(children ? "XPSEndElem " + EightBit(name) : "XPSEndCurElem");
        // Only the page's own dictionary references are followed.
        if (!source.empty() && depth == 0)
            Part(Resolve(partName, source), depth + 1);
    }

    const Package& package_;
};

// The page parts of the package in job order.
std::vector<std::string> PageNames(const Package& package)
{
    std::vector<std::string> pages;
    const std::string* rels = package.Find("/_rels/.rels");
    if (!rels)
        return pages;
    XmlDoc relationships = ParseXml(*rels);
    std::string sequence;
    for (xmlNode* r = xmlDocGetRootElement(relationships.get())->children; r; r = r->next) {
        if (r->type != XML_ELEMENT_NODE)
            continue;
        xmlChar* type = xmlGetProp(r, BAD_CAST "Type");
        xmlChar* target = xmlGetProp(r, BAD_CAST "Target");
        if (type && target && std::string(reinterpret_cast<char*>(type)).ends_with("/fixedrepresentation"))
            sequence = Resolve("/", reinterpret_cast<char*>(target));
        xmlFree(type);
        xmlFree(target);
    }
    auto sources = [&](const std::string& partName, const char* elementName) {
        std::vector<std::string> out;
        const std::string* bytes = package.Find(partName);
        if (!bytes)
            return out;
        XmlDoc document = ParseXml(*bytes);
        for (xmlNode* n = document ? xmlDocGetRootElement(document.get())->children : nullptr; n; n = n->next) {
            if (n->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(n->name)) == elementName) {
                xmlChar* source = xmlGetProp(n, BAD_CAST "Source");
                if (source)
                    out.push_back(Resolve(partName, reinterpret_cast<char*>(source)));
                xmlFree(source);
            }
        }
        return out;
    };
    for (const auto& document : sources(sequence, "DocumentReference"))
        for (const auto& page : sources(document, "PageContent"))
            pages.push_back(page);
    return pages;
}

// The markup calls of each page of the log: a page starts at its XpsSetPageDevice.
std::vector<std::vector<std::string>> LoggedPages(const std::vector<LoggedCall>& calls)
{
    std::vector<std::vector<std::string>> pages;
    for (const auto& call : calls) {
        if (call.Call() == "XpsSetPageDevice")
            pages.emplace_back();
        else if (!pages.empty())
            for (auto& brief : MarkupCalls({call}))
                pages.back().push_back(std::move(brief));
    }
    return pages;
}

// The index of the first call where logged differs from expected (the shorter one's size when one
// is the start of the other).
std::size_t FirstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& logged)
{
    return static_cast<std::size_t>(
        std::mismatch(expected.begin(), expected.end(), logged.begin(), logged.end()).first - expected.begin());
}

class EndToEnd : public ::testing::TestWithParam<fs::path> {};

TEST_P(EndToEnd, CallLogHoldsEveryPageInConverterOrder)
{
    const fs::path job = GetParam();
    const fs::path log = fs::path(::testing::TempDir()) / (job.stem().string() + ".log");
    const std::string command = std::string(XPSCHAIN_BINARY) + " print '" + job.string() + "' -o '" + log.string() +
                                "' 2>'" + log.string() + ".err'";
    const int status = std::system(command.c_str());
    std::ifstream errors(log.string() + ".err");
    const std::string errorText((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
    ASSERT_EQ(status, 0) << command << "\n" << errorText;
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto calls = ParseCallLog(text);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().Call(), "PrnCtrlOpen");
    EXPECT_EQ(calls.back().Call(), "PrnCtrlClose");

    const Package package(job);
    const auto pageNames = PageNames(package);
    const auto logged = LoggedPages(calls);
    ASSERT_EQ(logged.size(), pageNames.size());
    for (std::size_t p = 0; p < pageNames.size(); ++p) {
        ExpectedFeed expected(package);
        expected.Part(pageNames[p]);
        ASSERT_GT(expected.calls.size(), 2u) << pageNames[p];
        // The filters before the RIP pass every page unchanged, so the converter sees exactly the
        // package's markup.
        const std::size_t first = FirstDifference(expected.calls, logged[p]);
        EXPECT_TRUE(logged[p] == expected.calls)
            << pageNames[p] << ": call " << first << " differs: expected "
            << (first < expected.calls.size() ? expected.calls[first] : "<end>") << ", logged "
            << (first < logged[p].size() ? logged[p][first] : "<end>");
    }
    fs::remove(log);
    fs::remove(log.string() + ".err");
}

// Runs xpschain with arguments; gives its exit status and what it wrote on standard error.
int RunXpschain(const std::string& arguments, std::string* errorText)
{
    const fs::path errors = fs::path(::testing::TempDir()) / "xpschain.err";
    const int status = std::system((std::string(XPSCHAIN_BINARY) + " " + arguments + " 2>'" + errors.string() + "'").c_str());
    std::ifstream in(errors);
    errorText->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errors);
    return status;
}

TEST(EndToEndConverter, MissingConverterLibraryEndsTheJobNamingIt)
{
    const fs::path driver = fs::path(::testing::TempDir()) / "rip-e2e-driver";
    fs::create_directories(driver / "3");
    const fs::path job = fs::path(CorpusDir()) / "xps" / "pdfsharp-xps-Basic.xps";
    const fs::path out = fs::path(::testing::TempDir()) / "rip-e2e-missing.log";
    const std::string arguments = "print '" + job.string() + "' -o '" + out.string() + "' --driver-dir '" + driver.string() + "'";
    std::string errors;

    EXPECT_NE(RunXpschain(arguments, &errors), 0);
    EXPECT_NE(errors.find((driver / "3" / "libprncore.so").string()), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(out));

    // PRNCORE there, XPSFEED missing: the first page fails naming XPSFEED's file.
    fs::copy_file(fs::path(XPSCHAIN_DRIVER_DIR) / "3" / "libprncore.so", driver / "3" / "libprncore.so");
    EXPECT_NE(RunXpschain(arguments, &errors), 0);
    EXPECT_NE(errors.find((driver / "3" / "libxpsfeed.so").string()), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(out));
    fs::remove_all(driver);
}

INSTANTIATE_TEST_SUITE_P(Corpus, EndToEnd, ::testing::ValuesIn(CorpusPackages()), CorpusTestName);

} // namespace
