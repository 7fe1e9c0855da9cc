#include "framework/JobInfoRecord.h"

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"

namespace {

constexpr std::string_view kOffOnWords[] = {"Off", "On"};

// Reads members in turn; an absent member keeps the record's value, and after a failure the rest
// are left alone and the failure kept.
class CMemberReader {
public:
    explicit CMemberReader(const CTicketDocument& document) : document_(document) {}

    CMemberReader& Text(std::string_view name, std::string* value)
    {
        return Next([&] { return document_.GetPrivatePropertyText(name, value); });
    }

    template <class Number>
    CMemberReader& Integer(std::string_view name, Number* value)
    {
        return Next([&] {
            std::int32_t read = 0;
            const HRESULT hr = document_.GetPrivatePropertyInt(name, &read);
            if (hr == S_OK)
                *value = static_cast<Number>(read);
            return hr;
        });
    }

    // An "Off" / "On" member; any other word keeps the record's value.
    template <class Flag>
    CMemberReader& OffOn(std::string_view name, Flag* value)
    {
        return Next([&] {
            std::string text;
            const HRESULT hr = document_.GetPrivatePropertyText(name, &text);
            const int index = hr == S_OK ? CTicketDocument::WordIndex(text, kOffOnWords) : -1;
            if (index >= 0)
                *value = static_cast<Flag>(index);
            return hr;
        });
    }

    HRESULT Result() const { return result_; }

private:
    template <class Read>
    CMemberReader& Next(Read read)
    {
        if (SUCCEEDED(result_)) {
            const HRESULT hr = read();
            result_ = hr == ResultNotFound ? S_OK : hr;
        }
        return *this;
    }

    const CTicketDocument& document_;
    HRESULT result_ = S_OK;
};

// Runs read when the container property is in the ticket; an absent container is no failure.
template <class Read>
HRESULT ReadContainer(const CTicketDocument& document, std::string_view container, Read read)
{
    return GuardResult([&] {
        CXPathBuilder path(document.psfPrefix);
        HRESULT hr = path.AddProperty(document.privatePrefix, container);
        if (SUCCEEDED(hr))
            hr = document.NodeExists(path.GetPath());
        if (hr == ResultNotFound)
            return S_OK;
        return FAILED(hr) ? hr : read();
    });
}

} // namespace

HRESULT ReadJobInfo(const CTicketDocument& document, JobInfoRecord* record)
{
    if (!record)
        return E_POINTER;
    // Members are found anywhere in the ticket, not only inside their container.
    const HRESULT info = ReadContainer(document, "JobInfoData", [&] {
        return CMemberReader(document)
            .Text("DefaultUserName", &record->userName)
            .Text("ComputerName", &record->computerName)
            .Integer("CodePage", &record->codePage)
            .Result();
    });
    const HRESULT settings = ReadContainer(document, "JobSettingData", [&] {
        return CMemberReader(document)
            .OffOn("SeparateTrayMode", &record->separateTrayMode)
            .Text("DivideCondition", &record->divideCondition)
            .Integer("BandingPortraitFlag", &record->bandingPortraitFlag)
            .Integer("BandingPortraitSize", &record->bandingPortraitSize)
            .Integer("BandingLandscapeFlag", &record->bandingLandscapeFlag)
            .Integer("BandingLandscapeSize", &record->bandingLandscapeSize)
            .Result();
    });
    const HRESULT secret = ReadContainer(document, "JobSecretFunctionData", [&] {
        return CMemberReader(document)
            .OffOn("HalftoneReduction", &record->halftoneReduction)
            .OffOn("DraftMode", &record->draftMode)
            .Result();
    });
    // Each container is read whatever happened to the one before; no failure goes unreported.
    for (HRESULT hr : {info, settings, secret}) {
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}
