#include "tools/JobGenerator.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "framework/XDException.h"
#include "host/package/PackageWriter.h"
#include "host/package/PartFactory.h"
#include "platform/com/ComPtr.h"
#include "tools/GeneratedImage.h"
#include "tools/SystemFont.h"

namespace {

constexpr const char* kObfuscatedFontName = "/Resources/Fonts/5A7C2E91-3B4D-4F60-8A1E-C2D3E4F5A6B7.odttf";
constexpr const char* kPlainFontName = "/Resources/Fonts/DejaVuSans.ttf";
constexpr const char* kImageName = "/Resources/Images/gradient.png";
constexpr const char* kSampleText = "The quick brown fox jumps over the lazy dog; 0123456789 (&) <markup>.";

// Numbers in markup: two decimals with a dot.
std::string Num(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string EscapeText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// Makes a part of the asked kind with the given content, complete (its stream closed).
template <class Interface>
ComPtr<Interface> MakePart(IXpsDocumentConsumer* consumer, const std::string& uri, std::string_view content)
{
    ComPtr<Interface> part;
    ComPtr<IPrintWriteStream> stream;
    ThrowIfFailed(consumer->GetNewEmptyPart(uri.c_str(), IidOf<Interface>(), part.PutVoid(), stream.Put()));
    ULONG written = 0;
    ThrowIfFailed(stream->WriteBytes(content.data(), static_cast<ULONG>(content.size()), &written));
    stream->Close();
    return part;
}

ComPtr<IPartPrintTicket> MakeTicket(IXpsDocumentConsumer* consumer, const std::string& uri, const std::string& xml)
{
    return xml.empty() ? nullptr : MakePart<IPartPrintTicket>(consumer, uri, xml);
}

class CJobBuilder {
public:
    CJobBuilder(IXpsDocumentConsumer* consumer, const JobGenSettings& settings) : consumer_(consumer), settings_(settings) {}

    void Send()
    {
        LoadResources();
        ComPtr<IXpsDocument> package;
        ThrowIfFailed(CreateXpsDocument(nullptr, package.Put()));
        ThrowIfFailed(consumer_->SendXpsDocument(package.Get()));
        ComPtr<IFixedDocumentSequence> sequence;
        ThrowIfFailed(CreateFixedDocumentSequence("/FixedDocumentSequence.fdseq",
                                                  MakeTicket(consumer_, "/Metadata/Job_PT.xml", settings_.jobTicket).Get(),
                                                  sequence.Put()));
        ThrowIfFailed(consumer_->SendFixedDocumentSequence(sequence.Get()));
        const int total = settings_.documents * settings_.pagesPerDocument;
        for (int d = 1; d <= settings_.documents; ++d) {
            const std::string folder = "/Documents/" + std::to_string(d);
            ComPtr<IFixedDocument> document;
            ThrowIfFailed(CreateFixedDocument((folder + "/FixedDocument.fdoc").c_str(),
                                              MakeTicket(consumer_, folder + "/Document_PT.xml", settings_.documentTicket).Get(),
                                              document.Put()));
            ThrowIfFailed(consumer_->SendFixedDocument(document.Get()));
            for (int p = 1; p <= settings_.pagesPerDocument; ++p)
                SendPage(folder, p, (d - 1) * settings_.pagesPerDocument + p, total);
        }
        ThrowIfFailed(consumer_->CloseSender());
    }

private:
    void LoadResources()
    {
        const std::string path = settings_.fontPath.empty() ? FindSystemTrueTypeFont() : settings_.fontPath;
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (path.empty() || bytes.size() < 12)
            throw CXDException(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
        fontName_ = settings_.obfuscateFont ? kObfuscatedFontName : kPlainFontName;
        font_ = MakePart<IPartFont>(consumer_, fontName_, bytes);
        ThrowIfFailed(font_->SetFontOptions(settings_.obfuscateFont ? Font_Obfusticate : Font_Normal));
        if (settings_.image) {
            image_ = MakePart<IPartImage>(consumer_, kImageName, MakeGradientPng());
            ThrowIfFailed(image_->SetImageContent("image/png"));
        }
    }

    std::string PageMarkup(int number, int total) const
    {
        const double w = settings_.pageWidth;
        const double h = settings_.pageHeight;
        std::string xml = "<FixedPage xmlns=\"";
        xml += settings_.openXps ? "http://schemas.openxps.org/oxps/v1.0" : "http://schemas.microsoft.com/xps/2005/06";
        xml += "\" Width=\"" + Num(w) + "\" Height=\"" + Num(h) + "\" xml:lang=\"en-US\">\n";
        if (settings_.paths) {
            xml += "<Path Stroke=\"#FF3050A0\" StrokeThickness=\"2\" Data=\"M 48,48 L " + Num(w - 48) + ",48 " + Num(w - 48) + "," +
                   Num(h - 48) + " 48," + Num(h - 48) + " Z\"/>\n";
            xml += "<Path Stroke=\"#FFC03030\" StrokeThickness=\"3\" Data=\"M 96," + Num(h - 150) + " C 240," + Num(h - 260) +
                   " 480," + Num(h - 40) + " " + Num(w - 96) + "," + Num(h - 160) + "\"/>\n";
            xml += "<Path Fill=\"#8020A040\" Data=\"M 120,180 L 300,180 210,330 Z\"/>\n";
        }
        if (image_) {
            const std::string left = Num(w - 216);
            const std::string right = Num(w - 96);
            xml += "<Path Data=\"M " + left + ",96 L " + right + ",96 " + right + ",216 " + left + ",216 Z\"><Path.Fill>";
            xml += "<ImageBrush ImageSource=\"" + std::string(kImageName) + "\" Viewbox=\"0,0,64,64\" ViewboxUnits=\"Absolute\" Viewport=\"" +
                   left + ",96,120,120\" ViewportUnits=\"Absolute\"/></Path.Fill></Path>\n";
        }
        xml += Glyphs(20, 96, "Page " + std::to_string(number) + " of " + std::to_string(total), "#FF000000");
        for (int line = 0; line < settings_.linesPerPage; ++line) {
            const double y = 140 + line * 18.0;
            if (y > h - 60)
                break;
            xml += Glyphs(12, y, std::to_string(line + 1) + ". " + kSampleText, "#FF202020");
        }
        xml += "</FixedPage>\n";
        return xml;
    }

    std::string Glyphs(double size, double y, const std::string& text, const char* fill) const
    {
        return "<Glyphs FontUri=\"" + fontName_ + "\" FontRenderingEmSize=\"" + Num(size) + "\" OriginX=\"72\" OriginY=\"" + Num(y) +
               "\" Fill=\"" + fill + "\" UnicodeString=\"" + EscapeText(text) + "\"/>\n";
    }

    void SendPage(const std::string& folder, int inDocument, int number, int total)
    {
        const std::string name = folder + "/Pages/" + std::to_string(inDocument) + ".fpage";
        ComPtr<IFixedPage> page = MakePart<IFixedPage>(consumer_, name, PageMarkup(number, total));
        ThrowIfFailed(page->SetPagePart(font_.Get()));
        if (image_)
            ThrowIfFailed(page->SetPagePart(image_.Get()));
        if (!settings_.pageTicket.empty()) {
            const std::string ticketName = folder + "/Pages/" + std::to_string(inDocument) + "_PT.xml";
            ThrowIfFailed(page->SetPrintTicket(MakeTicket(consumer_, ticketName, settings_.pageTicket).Get()));
        }
        ThrowIfFailed(consumer_->SendFixedPage(page.Get()));
    }

    IXpsDocumentConsumer* consumer_;
    const JobGenSettings& settings_;
    std::string fontName_;
    ComPtr<IPartFont> font_;
    ComPtr<IPartImage> image_;
};

} // namespace

std::string DefaultTicket(TicketLevel level)
{
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<psf:PrintTicket xmlns:psf=\"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework\" "
        "xmlns:psk=\"http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" version=\"1\">\n";
    switch (level) {
    case TicketLevel::Job:
        xml += "<psf:ParameterInit name=\"psk:JobCopiesAllDocuments\"><psf:Value xsi:type=\"xsd:integer\">1</psf:Value></psf:ParameterInit>\n"
               "<psf:Feature name=\"psk:JobDuplexAllDocumentsContiguously\"><psf:Option name=\"psk:OneSided\"/></psf:Feature>\n";
        break;
    case TicketLevel::Document:
        xml += "<psf:Feature name=\"psk:DocumentCollate\"><psf:Option name=\"psk:Collated\"/></psf:Feature>\n";
        break;
    case TicketLevel::Page:
        xml += "<psf:Feature name=\"psk:PageMediaSize\"><psf:Option name=\"psk:NorthAmericaLetter\">"
               "<psf:ScoredProperty name=\"psk:MediaSizeWidth\"><psf:Value xsi:type=\"xsd:integer\">215900</psf:Value></psf:ScoredProperty>"
               "<psf:ScoredProperty name=\"psk:MediaSizeHeight\"><psf:Value xsi:type=\"xsd:integer\">279400</psf:Value></psf:ScoredProperty>"
               "</psf:Option></psf:Feature>\n"
               "<psf:Feature name=\"psk:PageOrientation\"><psf:Option name=\"psk:Portrait\"/></psf:Feature>\n";
        break;
    }
    xml += "</psf:PrintTicket>\n";
    return xml;
}

HRESULT SendGeneratedJob(IXpsDocumentConsumer* consumer, const JobGenSettings& settings, std::string* error)
{
    if (!consumer)
        return E_POINTER;
    if (settings.documents < 1 || settings.pagesPerDocument < 1 || settings.pageWidth < 300 || settings.pageHeight < 300) {
        if (error)
            *error = "a job needs at least one document of at least one page, each page at least 300 units wide and high";
        return E_INVALIDARG;
    }
    const HRESULT hr = GuardResult([&] {
        CJobBuilder(consumer, settings).Send();
        return S_OK;
    });
    if (FAILED(hr) && error)
        *error = hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? "no TrueType font to embed (install fonts-dejavu-core or give one)"
                                                                : "making the job failed: " + FormatHresult(hr);
    return hr;
}

HRESULT GenerateXpsJob(const std::string& path, const JobGenSettings& settings, std::string* error)
{
    ComPtr<IXpsDocumentConsumer> writer;
    PackageError opened;
    HRESULT hr = CreateXpsPackageWriter(path, &writer, &opened);
    if (FAILED(hr)) {
        if (error)
            *error = opened.Text();
        return hr;
    }
    hr = SendGeneratedJob(writer.Get(), settings, error);
    if (FAILED(hr) && error && LastPackageError(writer.Get()).Failed())
        *error = LastPackageError(writer.Get()).Text();
    return hr;
}
