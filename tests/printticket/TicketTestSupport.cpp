#include "tests/printticket/TicketTestSupport.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include "platform/com/ComPtr.h"

namespace pttest {

namespace {

ComPtr<IStream> StreamOf(const std::string& text)
{
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnText(text, stream.Put()), S_OK);
    return stream;
}

std::string TextOf(IStream* stream)
{
    stream->Seek(0, STREAM_SEEK_SET, nullptr);
    std::string text;
    EXPECT_EQ(ReadStreamToEnd(stream, &text), S_OK);
    return text;
}

constexpr char kTestPrinter[] = R"(<?xml version="1.0"?>
<PrinterDescription xmlns="http://schemas.xpschain.org/printing/2026/printer-description"
    xmlns:k="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords"
    xmlns:p="http://schemas.xpschain.org/printing/2026/keywords" name="Test Printer" version="1">
  <ImageableMargins left="3000" top="5000" right="7000" bottom="11000"/>
  <Feature name="k:PageMediaSize">
    <Option name="k:ISOA4" default="true">
      <ScoredProperty name="k:MediaSizeWidth" integer="210000"/>
      <ScoredProperty name="k:MediaSizeHeight" integer="297000"/>
    </Option>
    <Option name="k:ISOA5">
      <ScoredProperty name="k:MediaSizeWidth" integer="148000"/>
      <ScoredProperty name="k:MediaSizeHeight" integer="210000"/>
    </Option>
    <Option name="k:NorthAmericaLetter">
      <ScoredProperty name="k:MediaSizeWidth" integer="215900"/>
      <ScoredProperty name="k:MediaSizeHeight" integer="279400"/>
    </Option>
    <Option name="k:CustomMediaSize">
      <ScoredProperty name="k:MediaSizeWidth" parameter="k:PageMediaSizeMediaSizeWidth"/>
      <ScoredProperty name="k:MediaSizeHeight" parameter="k:PageMediaSizeMediaSizeHeight"/>
    </Option>
  </Feature>
  <Parameter name="k:PageMediaSizeMediaSizeWidth" type="integer" default="210000" min="76200" max="297000"/>
  <Parameter name="k:PageMediaSizeMediaSizeHeight" type="integer" default="297000" min="127000" max="431800"/>
  <Feature name="k:PageOrientation">
    <Option name="k:Portrait" default="true"/><Option name="k:Landscape"/>
    <Option name="k:ReversePortrait"/><Option name="k:ReverseLandscape"/>
  </Feature>
  <Feature name="k:PageResolution">
    <Option name="p:Resolution600x600" default="true">
      <ScoredProperty name="k:ResolutionX" integer="600"/><ScoredProperty name="k:ResolutionY" integer="600"/>
    </Option>
    <Option name="p:Resolution300x300">
      <ScoredProperty name="k:ResolutionX" integer="300"/><ScoredProperty name="k:ResolutionY" integer="300"/>
    </Option>
  </Feature>
  <Feature name="k:JobNUpAllDocumentsContiguously">
    <Option default="true"><ScoredProperty name="k:PagesPerSheet" integer="1"/></Option>
    <Option><ScoredProperty name="k:PagesPerSheet" integer="2"/></Option>
    <Option><ScoredProperty name="k:PagesPerSheet" integer="4"/></Option>
    <Feature name="k:PresentationDirection"><Option name="k:RightBottom"/><Option name="k:BottomRight"/></Feature>
  </Feature>
  <Feature name="k:JobBindAllDocuments">
    <Property name="p:BindingOptionControl" string="On"/>
    <Option name="k:BindLeft" default="true"><ScoredProperty name="k:BindingGutter" parameter="k:JobBindAllDocumentsGutter"/></Option>
    <Option name="k:Booklet"><ScoredProperty name="k:BindingGutter" parameter="k:JobBindAllDocumentsGutter"/></Option>
  </Feature>
  <Parameter name="k:JobBindAllDocumentsGutter" type="integer" default="0" min="0" max="203200" unit="microns"/>
  <Parameter name="k:JobCopiesAllDocuments" type="integer" default="1" min="1" max="99"/>
  <Parameter name="p:JobStampText" type="string" default="" maxLength="8"/>
  <Feature name="k:PageInputBin"><Option name="k:AutoSelect" default="true"/><Option name="p:Tray1"/></Feature>
  <Property name="p:JobInfoData"><Property name="p:CodePage" integer="1252"/></Property>
</PrinterDescription>
)";

// Every error message the provider hands out is a BSTR the caller frees: none may outlive a test.
class CLiveStringCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { before_ = SysLiveStringCount(); }
    void OnTestEnd(const ::testing::TestInfo&) override { EXPECT_EQ(SysLiveStringCount(), before_) << "BSTRs left alive"; }
    std::int64_t before_ = 0;
};

const bool kLiveStringCheckInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CLiveStringCheck);
    return true;
}();

} // namespace

const char* TestPrinterName()
{
    static const bool registered = [] {
        std::string name;
        std::string error;
        EXPECT_EQ(PTRegisterPrinterDescriptionXml(kTestPrinter, &name, &error), S_OK) << error;
        EXPECT_EQ(name, "Test Printer");
        return true;
    }();
    (void)registered;
    return "Test Printer";
}

std::string Ticket(const std::string& body, const std::string& extraNamespaces)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<psf:PrintTicket xmlns:psf=\"") + kPsf +
           "\" xmlns:psk=\"" + kPsk +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xc=\"" + kPrivateKeywordNamespace + "\" " + extraNamespaces + " version=\"1\">" + body +
           "</psf:PrintTicket>";
}

CallResult Merge(const char* printer, const std::string& base, const std::string& delta, EPrintTicketScope scope)
{
    CallResult result;
    HPTPROVIDER provider = nullptr;
    EXPECT_EQ(PTOpenProvider(printer, 1, &provider), S_OK);
    ComPtr<IStream> out;
    CreateStreamOnHGlobal(out.Put());
    CBstr message;
    result.hr = PTMergeAndValidatePrintTicket(provider, StreamOf(base).Get(), StreamOf(delta).Get(), scope, out.Get(),
                                              message.Put());
    result.text = TextOf(out.Get());
    result.message = message.Utf8();
    EXPECT_EQ(PTCloseProvider(provider), S_OK);
    return result;
}

CallResult Capabilities(const char* printer, const std::string& ticket)
{
    CallResult result;
    HPTPROVIDER provider = nullptr;
    EXPECT_EQ(PTOpenProvider(printer, 1, &provider), S_OK);
    ComPtr<IStream> out;
    CreateStreamOnHGlobal(out.Put());
    CBstr message;
    result.hr = PTGetPrintCapabilities(provider, StreamOf(ticket).Get(), out.Get(), message.Put());
    result.text = TextOf(out.Get());
    result.message = message.Utf8();
    EXPECT_EQ(PTCloseProvider(provider), S_OK);
    return result;
}

std::string DefaultTicket(const char* printer)
{
    std::string ticket;
    EXPECT_EQ(PTGetDefaultPrintTicket(printer, &ticket), S_OK);
    return ticket;
}

std::string XPath(const std::string& document, const std::string& expression)
{
    xmlDocPtr doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return "<unparsable>";
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathRegisterNs(context, BAD_CAST "psf", BAD_CAST kPsf);
    xmlXPathRegisterNs(context, BAD_CAST "psk", BAD_CAST kPsk);
    xmlXPathRegisterNs(context, BAD_CAST "xc", BAD_CAST kPrivateKeywordNamespace);
    xmlXPathObjectPtr value = xmlXPathEvalExpression(BAD_CAST ("string(" + expression + ")").c_str(), context);
    std::string text = value && value->stringval ? reinterpret_cast<const char*>(value->stringval) : "<bad xpath>";
    xmlXPathFreeObject(value);
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
    return text;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace pttest
