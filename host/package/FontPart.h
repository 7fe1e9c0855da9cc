#pragma once
// A font resource. Fonts read from an obfuscated (ODTTF) part give their plain bytes and report
// Font_Obfusticate, so that a writer obfuscates them again.
#include "host/package/Part.h"

class CFontPart final : public CPart<IPartFont> {
public:
    CFontPart(std::string uri, std::shared_ptr<const CPartContent> content, std::string contentType, EXpsFontOptions options)
        : CPart(std::move(uri), std::move(content)), contentType_(std::move(contentType)), options_(options) {}

    HRESULT GetFontProperties(std::string* contentType, EXpsFontOptions* options) override
    {
        if (!contentType || !options)
            return E_POINTER;
        return GuardResult([&] {
            *contentType = contentType_;
            *options = options_;
            return S_OK;
        });
    }
    HRESULT SetFontContent(const char* contentType) override
    {
        if (!contentType)
            return E_POINTER;
        return GuardResult([&] {
            contentType_ = contentType;
            return S_OK;
        });
    }
    HRESULT SetFontOptions(EXpsFontOptions options) override
    {
        if (options != Font_Normal && options != Font_Obfusticate)
            return E_INVALIDARG;
        options_ = options;
        return S_OK;
    }

private:
    std::string contentType_;
    EXpsFontOptions options_;
};
