#pragma once
// The filter object and what the pipeline gives it: its property bag, its manager control, its
// communicator, progress reports and the class factory.
#include "platform/com/Variant.h"
#include "platform/pipeline/XpsDocumentFlow.h"

struct IPrintPipelinePropertyBag : IUnknown {
    static constexpr IID kIid = GuidLiteral("{BF19C280-69E7-4F87-8A23-87FC4906A9D2}");
    virtual HRESULT AddProperty(const char* name, const VARIANT* value) = 0;
    // A failure means the property is absent; on success *value is the caller's to clear.
    virtual HRESULT GetProperty(const char* name, VARIANT* value) = 0;
    virtual BOOL DeleteProperty(const char* name) = 0;

protected:
    ~IPrintPipelinePropertyBag() = default;
};

struct IPrintPipelineManagerControl : IUnknown {
    static constexpr IID kIid = GuidLiteral("{04FEEA27-110B-4AA4-BB3F-9A3B3D02314F}");
    // Asks the pipeline to end the job because of reason; errorInfo may be null.
    virtual HRESULT RequestShutdown(HRESULT reason, IUnknown* errorInfo) = 0;
    // The filter is done; sent at most once per filter.
    virtual HRESULT FilterFinished() = 0;

protected:
    ~IPrintPipelineManagerControl() = default;
};

struct IPrintClassObjectFactory : IUnknown {
    static constexpr IID kIid = GuidLiteral("{2F5D2C6F-06E4-4990-A72A-F8006D1EF885}");
    virtual HRESULT GetPrintClassObject(const char* printerName, REFIID iid, void** object) = 0;

protected:
    ~IPrintClassObjectFactory() = default;
};

enum EXpsJobConsumption {
    XpsJob_DocumentSequenceAdded = 0,
    XpsJob_FixedDocumentAdded = 1,
    XpsJob_FixedPageAdded = 2,
};

struct IPrintPipelineProgressReport : IUnknown {
    static constexpr IID kIid = GuidLiteral("{B596375C-5585-41C4-A645-41F75BE42C56}");
    virtual HRESULT ReportProgress(EXpsJobConsumption update) = 0;

protected:
    ~IPrintPipelineProgressReport() = default;
};

struct IPrintPipelineFilter : IUnknown {
    static constexpr IID kIid = GuidLiteral("{D2BD0F18-D9B1-4030-AC80-ACFE68854ED8}");
    virtual HRESULT InitializeFilter(IInterFilterCommunicator* communicator, IPrintPipelinePropertyBag* propertyBag,
                                     IPrintPipelineManagerControl* managerControl) = 0;
    // From any thread; the running StartOperation stops at its next part.
    virtual HRESULT ShutdownOperation() = 0;
    // Runs the job on the calling thread; returns when it is done, failed or was shut down.
    virtual HRESULT StartOperation() = 0;

protected:
    ~IPrintPipelineFilter() = default;
};
