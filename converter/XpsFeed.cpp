// XPSFEED of the reference converter: takes the page values and the page markup call by call and
// writes each call to the call log (docs/converter.md). Loaded anew for every page, so all state
// lives in the session behind the feed handle.
#include <type_traits>

#include "converter/ConverterSession.h"
#include "converter/JsonLine.h"

namespace {

COutputChannel* Output(void* feed)
{
    auto* handle = static_cast<ConverterFeed*>(feed);
    return handle ? &handle->session->output : nullptr;
}

} // namespace

CONVERTER_EXPORT std::int32_t XpsSetConvResAPI(void* feed, void* page, GetXPSFontDataFn font, GetXPSICCDataFn icc,
                                              GetXPSImageDataFn image, void* reserved1, void* reserved2)
{
    COutputChannel* output = Output(feed);
    if (!output)
        return 0;
    output->Deliver(CJsonLine("XpsSetConvResAPI")
                        .Number("page", page ? 1 : 0)
                        .Number("callbacks", (font ? 1 : 0) + (icc ? 1 : 0) + (image ? 1 : 0))
                        .Number("reserved", (reserved1 ? 1 : 0) + (reserved2 ? 1 : 0))
                        .Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t XpsSetPageDevice(void* feed, std::uint8_t one, std::int32_t v1, std::int32_t width,
                                              std::int32_t height, std::int32_t v4, std::int32_t v5,
                                              std::int32_t width2, std::int32_t height2, std::int32_t resolutionX,
                                              std::int32_t resolutionY, std::int32_t rotationCode, std::int32_t v11,
                                              std::int32_t v12, std::int32_t v13, std::int32_t height3,
                                              std::int32_t height4, std::int32_t planeCode, std::int32_t planes,
                                              std::int32_t bitsPerPixel)
{
    COutputChannel* output = Output(feed);
    if (!output)
        return 0;
    output->Deliver(CJsonLine("XpsSetPageDevice")
                        .Number("width", width)
                        .Number("height", height)
                        .Number("resX", resolutionX)
                        .Number("resY", resolutionY)
                        .Number("rotation", rotationCode)
                        .Number("planeCode", planeCode)
                        .Number("planes", planes)
                        .Number("bitsPerPixel", bitsPerPixel)
                        .Numbers("values", {one, v1, width, height, v4, v5, width2, height2, resolutionX, resolutionY,
                                            rotationCode, v11, v12, v13, height3, height4, planeCode, planes,
                                            bitsPerPixel})
                        .Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t XPSStartElem(const char* name, void* feed)
{
    COutputChannel* output = Output(feed);
    if (!output || !name)
        return 0;
    output->Deliver(CJsonLine("XPSStartElem").Latin1("name", name).Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t XPSReadAtt(const char* name, const void* value, void* feed)
{
    COutputChannel* output = Output(feed);
    if (!output || !name || !value)
        return 0;
    CJsonLine line("XPSReadAtt");
    line.Latin1("name", name);
    if (std::string_view(name) == "UnicodeString")
        line.Utf16("value", static_cast<const char16_t*>(value));
    else
        line.Latin1("value", static_cast<const char*>(value));
    output->Deliver(line.Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t XPSEndElem(const char* name, void* feed)
{
    COutputChannel* output = Output(feed);
    if (!output || !name)
        return 0;
    output->Deliver(CJsonLine("XPSEndElem").Latin1("name", name).Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t XPSEndCurElem(void* feed)
{
    COutputChannel* output = Output(feed);
    if (!output)
        return 0;
    output->Deliver(CJsonLine("XPSEndCurElem").Finish());
    return 1;
}

static_assert(std::is_same_v<decltype(&XpsSetConvResAPI), XpsSetConvResAPIFn>);
static_assert(std::is_same_v<decltype(&XpsSetPageDevice), XpsSetPageDeviceFn>);
static_assert(std::is_same_v<decltype(&XPSStartElem), XPSStartElemFn>);
static_assert(std::is_same_v<decltype(&XPSReadAtt), XPSReadAttFn>);
static_assert(std::is_same_v<decltype(&XPSEndElem), XPSEndElemFn>);
static_assert(std::is_same_v<decltype(&XPSEndCurElem), XPSEndCurElemFn>);
