#pragma once
// Aborts when one fuzz input leaves COM objects, XML documents or BSTRs alive that were not alive
// before it: a leak the counters see even in a build without the leak sanitizer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/ComBase.h"
#include "platform/com/Bstr.h"
#include "platform/xml/XmlDocument.h"

class CLiveObjectCheck {
public:
    CLiveObjectCheck() = default;
    CLiveObjectCheck(const CLiveObjectCheck&) = delete;
    CLiveObjectCheck& operator=(const CLiveObjectCheck&) = delete;
    ~CLiveObjectCheck()
    {
        const Counts now;
        if (now.objects != before_.objects || now.documents != before_.documents || now.strings != before_.strings) {
            std::fprintf(stderr, "leak: COM objects %d -> %d, XML documents %ld -> %ld, BSTRs %lld -> %lld\n",
                         before_.objects, now.objects, before_.documents, now.documents,
                         static_cast<long long>(before_.strings), static_cast<long long>(now.strings));
            std::abort();
        }
    }

private:
    struct Counts {
        std::int32_t objects = ModuleLiveObjectCount();
        long documents = CXmlDocument::LiveCount();
        std::int64_t strings = SysLiveStringCount();
    };
    const Counts before_{};
};
