#pragma once
// A content handler that writes every event as one line of text, and can fail at a chosen event.
#include <exception>
#include <string>

#include "platform/xml/Sax.h"

class CRecordingHandler final : public ISAXContentHandler {
public:
    // failAt: the number of the event (from 1) that answers failure; 0 never.
    explicit CRecordingHandler(int failAt = 0, HRESULT failure = E_ACCESSDENIED) : failAt_(failAt), failure_(failure) {}

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IUnknown::kIid || iid == ISAXContentHandler::kIid) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT putDocumentLocator(const ISAXLocator* locator) override
    {
        locator_ = locator;
        return S_OK;
    }
    HRESULT startDocument() override { return Log("startDocument"); }
    HRESULT endDocument() override { return Log("endDocument"); }
    HRESULT startPrefixMapping(std::string_view prefix, std::string_view uri) override
    {
        return Log("prefix+ " + std::string(prefix) + "=" + std::string(uri));
    }
    HRESULT endPrefixMapping(std::string_view prefix) override { return Log("prefix- " + std::string(prefix)); }
    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override
    {
        std::string line = "start " + std::string(qName) + " {" + std::string(uri) + "}" + std::string(localName);
        for (const SaxAttribute& a : attributes) {
            line += " " + std::string(a.qName) + "(" + std::string(a.localName) + "," + std::string(a.uri) + ")=[" +
                    std::string(a.value) + "]";
        }
        if (locator_)
            lastStartLine = locator_->getLineNumber();
        return Log(line);
    }
    HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) override
    {
        return Log("end " + std::string(qName) + " {" + std::string(uri) + "}" + std::string(localName));
    }
    HRESULT characters(std::string_view text) override
    {
        // Pieces are joined: the parser may deliver one text in several calls.
        text_ += text;
        return Count();
    }
    HRESULT ignorableWhitespace(std::string_view text) override { return characters(text); }
    HRESULT processingInstruction(std::string_view target, std::string_view data) override
    {
        return Log("pi " + std::string(target) + " " + std::string(data));
    }
    HRESULT skippedEntity(std::string_view name) override { return Log("skipped " + std::string(name)); }

    // Events so far, one per line; runs of characters appear as one "text [..]" line.
    std::string Events()
    {
        FlushText();
        return log_;
    }
    int lastStartLine = 0;
    // When set, the failing event raises this instead of answering the failure.
    std::exception_ptr raise;

private:
    HRESULT Log(const std::string& line)
    {
        FlushText();
        log_ += line + "\n";
        return Count();
    }
    HRESULT Count()
    {
        if (++events_ != failAt_)
            return S_OK;
        if (raise)
            std::rethrow_exception(raise);
        return failure_;
    }
    void FlushText()
    {
        if (!text_.empty())
            log_ += "text [" + text_ + "]\n";
        text_.clear();
    }

    int failAt_;
    HRESULT failure_;
    int events_ = 0;
    const ISAXLocator* locator_ = nullptr;
    std::string log_;
    std::string text_;
};
