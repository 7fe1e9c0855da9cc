#pragma once
// Images and thumbnails: parts that carry their content type.
#include "host/package/Part.h"

template <class Interface>
class CTypedPart : public CPart<Interface> {
public:
    CTypedPart(std::string uri, std::shared_ptr<const CPartContent> content, std::string contentType)
        : CPart<Interface>(std::move(uri), std::move(content)), contentType_(std::move(contentType)) {}

protected:
    HRESULT GetType(std::string* contentType)
    {
        if (!contentType)
            return E_POINTER;
        return GuardResult([&] {
            *contentType = contentType_;
            return S_OK;
        });
    }
    HRESULT SetType(const char* contentType)
    {
        if (!contentType)
            return E_POINTER;
        return GuardResult([&] {
            contentType_ = contentType;
            return S_OK;
        });
    }

private:
    std::string contentType_;
};

class CImagePart final : public CTypedPart<IPartImage> {
public:
    using CTypedPart::CTypedPart;
    HRESULT GetImageProperties(std::string* contentType) override { return GetType(contentType); }
    HRESULT SetImageContent(const char* contentType) override { return SetType(contentType); }
};

class CThumbnailPart final : public CTypedPart<IPartThumbnail> {
public:
    using CTypedPart::CTypedPart;
    HRESULT GetThumbnailProperties(std::string* contentType) override { return GetType(contentType); }
    HRESULT SetThumbnailContent(const char* contentType) override { return SetType(contentType); }
};
