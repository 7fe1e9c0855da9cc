#pragma once
// The state of one job in the reference converter, behind the three handles it gives out: the
// control handle is the session, the conversion and feed handles point into it. PRNCORE makes and
// frees it; XPSFEED (loaded anew for every page) only uses it through the feed handle, so it keeps
// no state of its own.
#include "converter/OutputChannel.h"

struct ConverterSession;

struct ConverterConversion {
    ConverterSession* session;
};

struct ConverterFeed {
    ConverterSession* session;
};

struct ConverterSession {
    ConverterSession(WriteConverterOutputFn write, void* context) : output(write, context) {}

    COutputChannel output;
    ConverterConversion conversion{this};
    ConverterFeed feed{this};
    bool conversionOpen = false;
};

#define CONVERTER_EXPORT extern "C" __attribute__((visibility("default")))
