#include "host/runner/PipelineConfig.h"

#include <fstream>
#include <stdexcept>
#include <sstream>

#include "framework/SaxHandlerBase.h"
#include "platform/com/Stream.h"

namespace {

// The text of examples/pipeline.xml, put here by the build.
constexpr char kDefaultPipelineXml[] =
#include "host/runner/DefaultPipeline.inc"
    ;

class CConfigHandler final : public CSaxHandlerBase {
public:
    explicit CConfigHandler(PipelineConfig* config) : config_(config) {}

    const std::string& Error() const { return error_; }

    HRESULT putDocumentLocator(const ISAXLocator* locator) override
    {
        locator_ = locator;
        return S_OK;
    }

    HRESULT startElement(std::string_view, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override
    {
        ++depth_;
        if (depth_ == 1)
            return qName == "Pipeline" ? S_OK : Fail("the root element is <" + std::string(qName) + ">, not <Pipeline>");
        if (depth_ > 2 || localName != "Filter" || qName != "Filter")
            return Fail("unexpected element <" + std::string(qName) + ">");
        return ReadFilter(attributes);
    }

    HRESULT endElement(std::string_view, std::string_view, std::string_view) override
    {
        --depth_;
        return S_OK;
    }

    HRESULT characters(std::string_view text) override
    {
        if (text.find_first_not_of(" \t\r\n") != std::string_view::npos)
            return Fail("unexpected text '" + std::string(text) + "'");
        return S_OK;
    }

private:
    HRESULT ReadFilter(SaxAttributes attributes)
    {
        FilterEntry entry;
        bool haveClsid = false;
        for (const SaxAttribute& a : attributes) {
            const std::string value(a.value);
            if (a.qName == "name") {
                entry.name = value;
            } else if (a.qName == "library") {
                entry.library = value;
            } else if (a.qName == "clsid") {
                const auto clsid = ParseGuid(value);
                if (!clsid)
                    return Fail("the class identifier '" + value + "' is not a GUID");
                entry.clsid = *clsid;
                haveClsid = true;
            } else if (a.qName == "output") {
                if (value == "xps")
                    entry.output = FilterOutput::kXps;
                else if (value == "device")
                    entry.output = FilterOutput::kDevice;
                else
                    return Fail("output must be \"xps\" or \"device\", not '" + value + "'");
            } else if (a.qName.substr(0, 5) != "xmlns") {
                return Fail("unknown attribute '" + std::string(a.qName) + "' on <Filter>");
            }
        }
        if (entry.name.empty() || entry.library.empty() || !haveClsid)
            return Fail("a <Filter> needs the attributes name, library and clsid");
        // Plug-ins come from the plug-in directory only; a path could load any library.
        if (entry.library.find('/') != std::string::npos || entry.library == "." || entry.library == "..")
            return Fail("the library of filter '" + entry.name + "' must be a file name, not the path '" + entry.library + "'");
        for (const FilterEntry& other : config_->filters) {
            if (other.name == entry.name)
                return Fail("the filter name '" + entry.name + "' is given twice");
        }
        config_->filters.push_back(std::move(entry));
        return S_OK;
    }

    HRESULT Fail(const std::string& message)
    {
        error_ = "line " + std::to_string(locator_ ? locator_->getLineNumber() : 0) + ": " + message;
        return E_INVALIDARG;
    }

    PipelineConfig* config_;
    const ISAXLocator* locator_ = nullptr;
    int depth_ = 0;
    std::string error_;
};

} // namespace

bool ParsePipelineConfig(std::string_view text, PipelineConfig* config, std::string* error)
{
    PipelineConfig parsed;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnText(text, stream.Put()))) {
        *error = "out of memory";
        return false;
    }
    ComPtr<CConfigHandler> handler;
    handler.Attach(new CConfigHandler(&parsed));
    std::string parseError;
    if (FAILED(ParseSax(stream.Get(), handler.Get(), &parseError))) {
        *error = handler->Error().empty() ? parseError : handler->Error();
        return false;
    }
    if (parsed.filters.empty()) {
        *error = "the pipeline lists no filter";
        return false;
    }
    for (std::size_t i = 0; i + 1 < parsed.filters.size(); ++i) {
        if (parsed.filters[i].output == FilterOutput::kDevice) {
            *error = "filter '" + parsed.filters[i].name + "' writes device data, so it must be the last";
            return false;
        }
    }
    *config = std::move(parsed);
    return true;
}

bool ReadPipelineConfig(const std::string& path, PipelineConfig* config, std::string* error)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        *error = "cannot read the pipeline configuration '" + path + "'";
        return false;
    }
    std::string reason;
    if (!ParsePipelineConfig(text.str(), config, &reason)) {
        *error = path + ": " + reason;
        return false;
    }
    return true;
}

PipelineConfig DefaultPipelineConfig()
{
    PipelineConfig config;
    std::string error;
    // The built-in text is tested; a failure here is a build fault, so fail loudly.
    if (!ParsePipelineConfig(kDefaultPipelineXml, &config, &error))
        throw std::logic_error("built-in pipeline configuration: " + error);
    return config;
}

bool TruncatePipeline(PipelineConfig* config, std::string_view last, std::string* error)
{
    for (std::size_t i = 0; i < config->filters.size(); ++i) {
        if (config->filters[i].name == last) {
            config->filters.resize(i + 1);
            return true;
        }
    }
    std::string names;
    for (const FilterEntry& f : config->filters)
        names += (names.empty() ? "" : ", ") + f.name;
    *error = "the pipeline has no filter named '" + std::string(last) + "' (it has " + names + ")";
    return false;
}
