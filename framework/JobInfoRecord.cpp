#include "framework/JobInfoRecord.h"

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"

namespace {

constexpr std::string_view kOffOnWords[] = {"Off", "On"};

// Reads a member; an absent one keeps the record's value.
HRESULT ReadText(const CTicketDocument& document, std::string_view name, std::string* value)
{
    const HRESULT hr = document.GetPrivatePropertyText(name, value);
    return hr == ResultNotFound ? S_OK : hr;
}

template <class Integer>
HRESULT ReadInteger(const CTicketDocument& document, std::string_view name, Integer* value)
{
    std::int32_t read = 0;
    const HRESULT hr = document.GetPrivatePropertyInt(name, &read);
    if (hr == S_OK)
        *value = static_cast<Integer>(read);
    return hr == ResultNotFound ? S_OK : hr;
}

// An "Off" / "On" member; any other word keeps the record's value.
template <class Flag>
HRESULT ReadOffOn(const CTicketDocument& document, std::string_view name, Flag* value)
{
    std::string text;
    const HRESULT hr = document.GetPrivatePropertyText(name, &text);
    const int index = hr == S_OK ? CTicketDocument::WordIndex(text, kOffOnWords) : -1;
    if (index >= 0)
        *value = static_cast<Flag>(index);
    return hr == ResultNotFound ? S_OK : hr;
}

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
        HRESULT hr = ReadText(document, "DefaultUserName", &record->userName);
        if (SUCCEEDED(hr))
            hr = ReadText(document, "ComputerName", &record->computerName);
        if (SUCCEEDED(hr))
            hr = ReadInteger(document, "CodePage", &record->codePage);
        return hr;
    });
    const HRESULT settings = ReadContainer(document, "JobSettingData", [&] {
        HRESULT hr = ReadOffOn(document, "SeparateTrayMode", &record->separateTrayMode);
        if (SUCCEEDED(hr))
            hr = ReadText(document, "DivideCondition", &record->divideCondition);
        if (SUCCEEDED(hr))
            hr = ReadInteger(document, "BandingPortraitFlag", &record->bandingPortraitFlag);
        if (SUCCEEDED(hr))
            hr = ReadInteger(document, "BandingPortraitSize", &record->bandingPortraitSize);
        if (SUCCEEDED(hr))
            hr = ReadInteger(document, "BandingLandscapeFlag", &record->bandingLandscapeFlag);
        if (SUCCEEDED(hr))
            hr = ReadInteger(document, "BandingLandscapeSize", &record->bandingLandscapeSize);
        return hr;
    });
    const HRESULT secret = ReadContainer(document, "JobSecretFunctionData", [&] {
        HRESULT hr = ReadOffOn(document, "HalftoneReduction", &record->halftoneReduction);
        if (SUCCEEDED(hr))
            hr = ReadOffOn(document, "DraftMode", &record->draftMode);
        return hr;
    });
    // Each container is read whatever happened to the one before; no failure goes unreported.
    for (HRESULT hr : {info, settings, secret}) {
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}
