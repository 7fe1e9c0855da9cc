#pragma once
// An owned interface reference: AddRef on copy, Release on drop.
#include <cstddef>
#include <utility>

#include "platform/com/Unknown.h"

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Adds a reference of its own.
    ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(T* p)
    {
        ComPtr(p).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t)
    {
        Reset();
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Takes over a reference the caller already owns.
    void Attach(T* p)
    {
        Reset();
        p_ = p;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset()
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    // For out parameters: drops the held reference and gives the slot to fill.
    T** Put()
    {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Copies the reference out with a reference of its own for the receiver.
    HRESULT CopyTo(T** out) const
    {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    template <class U>
    HRESULT As(ComPtr<U>* out) const
    {
        if (!out)
            return E_POINTER;
        if (!p_) {
            out->Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(IidOf<U>(), out->PutVoid());
    }

private:
    T* p_ = nullptr;
};

// Asks any interface for another one; a null source gives E_POINTER.
template <class U, class T>
HRESULT QueryTo(T* source, ComPtr<U>* out)
{
    if (!source || !out)
        return E_POINTER;
    return source->QueryInterface(IidOf<U>(), out->PutVoid());
}
