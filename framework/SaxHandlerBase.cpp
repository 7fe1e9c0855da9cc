#include "framework/SaxHandlerBase.h"

#include <algorithm>

#include "framework/XDException.h"

namespace {
// The largest piece handed to one sink write; the sinks count in 32-bit sizes.
constexpr std::size_t kLargestSinkWrite = 0x40000000;
}

CSaxHandlerBase::CSaxHandlerBase(IPrintWriteStream* printSink) : printSink_(printSink) {}

CSaxHandlerBase::CSaxHandlerBase(IStream* streamSink) : streamSink_(streamSink) {}

CSaxHandlerBase::~CSaxHandlerBase() { FlushMarkup(); }

HRESULT CSaxHandlerBase::putDocumentLocator(const ISAXLocator*) { return S_OK; }
HRESULT CSaxHandlerBase::startDocument() { return S_OK; }
HRESULT CSaxHandlerBase::endDocument() { return S_OK; }
HRESULT CSaxHandlerBase::startPrefixMapping(std::string_view, std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::endPrefixMapping(std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::startElement(std::string_view, std::string_view, std::string_view, SaxAttributes)
{
    return S_OK;
}
HRESULT CSaxHandlerBase::endElement(std::string_view, std::string_view, std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::characters(std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::ignorableWhitespace(std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::processingInstruction(std::string_view, std::string_view) { return S_OK; }
HRESULT CSaxHandlerBase::skippedEntity(std::string_view) { return S_OK; }

HRESULT CSaxHandlerBase::PrepareAppend()
{
    if (FAILED(sinkFailure_))
        return sinkFailure_;
    return output_.size() >= kFlushThreshold ? FlushMarkup() : S_OK;
}

HRESULT CSaxHandlerBase::WriteMarkup(std::string_view markup)
{
    const HRESULT hr = PrepareAppend();
    if (FAILED(sinkFailure_))
        return hr;
    return GuardResult([&] {
        output_.append(markup);
        return hr;
    });
}

HRESULT CSaxHandlerBase::WriteEscapedMarkup(std::string_view text, EscapeContext context)
{
    const HRESULT hr = PrepareAppend();
    if (FAILED(sinkFailure_))
        return hr;
    return GuardResult([&] {
        AppendEscapedXml(output_, text, context);
        return hr;
    });
}

HRESULT CSaxHandlerBase::FlushMarkup()
{
    if (FAILED(sinkFailure_))
        return sinkFailure_;
    if (output_.empty())
        return S_OK;
    const HRESULT hr = WriteToSink(output_.data(), output_.size());
    output_.clear();
    if (FAILED(hr)) {
        sinkFailure_ = hr;
        output_.shrink_to_fit();
    }
    return hr;
}

HRESULT CSaxHandlerBase::WriteXmlDeclaration() { return WriteMarkup(R"(<?xml version="1.0" encoding="utf-8"?>)"); }

HRESULT CSaxHandlerBase::WriteToSink(const char* data, std::size_t size)
{
    while (size > 0) {
        const auto piece = static_cast<ULONG>(std::min(size, kLargestSinkWrite));
        ULONG written = 0;
        HRESULT hr = S_OK;
        if (printSink_)
            hr = printSink_->WriteBytes(data, piece, &written);
        else if (streamSink_)
            hr = streamSink_->Write(data, piece, &written);
        else
            written = piece;
        if (FAILED(hr))
            return hr;
        // A sink that takes nothing would never finish the write.
        if (written == 0 || written > piece)
            return E_FAIL;
        data += written;
        size -= written;
    }
    return S_OK;
}
