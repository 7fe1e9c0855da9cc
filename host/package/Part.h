#pragma once
// The common base of every part with content: its name, where its bytes come from and its
// compression. Answers IUnknown, IPartBase and its own interface.
#include <memory>
#include <mutex>
#include <string>

#include "framework/ComBase.h"
#include "framework/XDException.h"
#include "host/package/PartContent.h"
#include "platform/pipeline/XpsParts.h"

template <class Interface>
class CPart : public CComBase<Interface>, public IContentReceiver {
public:
    // content may be null for a part still to be written.
    CPart(std::string uri, std::shared_ptr<const CPartContent> content) : uri_(std::move(uri)), content_(std::move(content)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == IPartBase::kIid || iid == IidOf<Interface>()) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT GetUri(std::string* uri) override
    {
        if (!uri)
            return E_POINTER;
        return GuardResult([&] {
            *uri = uri_;
            return S_OK;
        });
    }
    // ResultNotAvailable while a new part's write stream is still open.
    HRESULT GetStream(IPrintReadStream** stream) override
    {
        if (!stream)
            return E_POINTER;
        *stream = nullptr;
        const auto content = Content();
        return content ? content->OpenStream(stream) : ResultNotAvailable;
    }
    HRESULT GetPartCompression(EXpsCompressionOptions* compression) override
    {
        if (!compression)
            return E_POINTER;
        *compression = compression_;
        return S_OK;
    }
    HRESULT SetPartCompression(EXpsCompressionOptions compression) override
    {
        compression_ = compression;
        return S_OK;
    }

    void ReceiveContent(std::shared_ptr<const CPartContent> content) override
    {
        std::lock_guard lock(contentMutex_);
        content_ = std::move(content);
    }

protected:
    std::shared_ptr<const CPartContent> Content() const
    {
        std::lock_guard lock(contentMutex_);
        return content_;
    }

    const std::string uri_;

private:
    mutable std::mutex contentMutex_;
    std::shared_ptr<const CPartContent> content_;
    EXpsCompressionOptions compression_ = Compression_Normal;
};

// Parts with nothing beyond their content: tickets, colour profiles, resource dictionaries,
// discard control and parts of other kinds.
template <class Interface>
class CPlainPart final : public CPart<Interface> {
public:
    using CPart<Interface>::CPart;
};
