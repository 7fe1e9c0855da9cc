#pragma once
// The root of every interface: reference counting and interface discovery.
#include "platform/com/Guid.h"
#include "platform/com/Hresult.h"

struct IUnknown {
    static constexpr IID kIid = GuidLiteral("{00000000-0000-0000-C000-000000000046}");

    // Stores the object as the asked interface and adds a reference; E_NOINTERFACE clears *object.
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    // Both return the new count.
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

// The interface id of an interface type.
template <class T>
constexpr const IID& IidOf() { return T::kIid; }
