#pragma once
// PRNCORE: the converter's job control (open, DEVMODE per page, close).
#include "converter/ConverterApi.h"
#include "rip/ConverterLibrary.h"

struct PrnCoreLibrary {
    PrnCoreLibrary()
    {
        module.Bind("PrnCtrlOpen", &PrnCtrlOpen);
        module.Bind("PrnCtrlXPS2SPDLOpen", &PrnCtrlXPS2SPDLOpen);
        module.Bind("GetConvCntFromSPDLCnt", &GetConvCntFromSPDLCnt);
        module.Bind("DevModeSet", &DevModeSet);
        module.Bind("PrnCtrlXPS2SPDLClose", &PrnCtrlXPS2SPDLClose);
        module.Bind("PrnCtrlClose", &PrnCtrlClose);
    }

    CConverterLibrary module{kPrnCoreModuleName};
    PrnCtrlOpenFn PrnCtrlOpen = nullptr;
    PrnCtrlXPS2SPDLOpenFn PrnCtrlXPS2SPDLOpen = nullptr;
    GetConvCntFromSPDLCntFn GetConvCntFromSPDLCnt = nullptr;
    DevModeSetFn DevModeSet = nullptr;
    PrnCtrlXPS2SPDLCloseFn PrnCtrlXPS2SPDLClose = nullptr;
    PrnCtrlCloseFn PrnCtrlClose = nullptr;
};
