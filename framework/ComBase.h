#pragma once
// The base of every COM object of a deliverable: an interlocked reference count and the one
// interface the object answers besides IUnknown.
#include <atomic>
#include <cstdint>

#include "platform/com/Unknown.h"

// Live objects of this deliverable; DllCanUnloadNow answers S_OK only at zero.
std::int32_t ModuleLiveObjectCount();

template <class Interface>
class CComBase : public Interface {
public:
    // A null out gives E_POINTER; IUnknown and the object's own interface are answered, anything
    // else clears *object and gives E_NOINTERFACE.
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == interfaceId) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return static_cast<ULONG>(++referenceCount); }
    ULONG Release() override
    {
        const std::int32_t count = --referenceCount;
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

protected:
    CComBase() : interfaceId(IidOf<Interface>()) { ModuleObjectMade(); }
    CComBase(const CComBase&) = delete;
    CComBase& operator=(const CComBase&) = delete;
    virtual ~CComBase() { ModuleObjectDestroyed(); }

    std::atomic<std::int32_t> referenceCount{1};
    // Set by the most derived constructor when it answers a more derived interface.
    IID interfaceId;

private:
    static void ModuleObjectMade();
    static void ModuleObjectDestroyed();
};

namespace module_objects {
void Increment();
void Decrement();
}

template <class Interface>
void CComBase<Interface>::ModuleObjectMade() { module_objects::Increment(); }
template <class Interface>
void CComBase<Interface>::ModuleObjectDestroyed() { module_objects::Decrement(); }
