#pragma once
// XPSFEED: the converter's page markup intake, loaded for every page and every remote dictionary.
#include "converter/ConverterApi.h"
#include "rip/ConverterLibrary.h"

struct XpsFeedLibrary {
    XpsFeedLibrary()
    {
        module.Bind("XpsSetConvResAPI", &XpsSetConvResAPI);
        module.Bind("XpsSetPageDevice", &XpsSetPageDevice);
        module.Bind("XPSStartElem", &XPSStartElem);
        module.Bind("XPSReadAtt", &XPSReadAtt);
        module.Bind("XPSEndElem", &XPSEndElem);
        module.Bind("XPSEndCurElem", &XPSEndCurElem);
    }

    CConverterLibrary module{kXpsFeedModuleName};
    XpsSetConvResAPIFn XpsSetConvResAPI = nullptr;
    XpsSetPageDeviceFn XpsSetPageDevice = nullptr;
    XPSStartElemFn XPSStartElem = nullptr;
    XPSReadAttFn XPSReadAtt = nullptr;
    XPSEndElemFn XPSEndElem = nullptr;
    XPSEndCurElemFn XPSEndCurElem = nullptr;
};
