#pragma once
// The system's exception: one HRESULT, raised inside an operation and turned back into that
// HRESULT before any COM method, hook or export returns.
#include <exception>
#include <new>

#include "platform/com/Hresult.h"

class CXDException : public std::exception {
public:
    explicit CXDException(HRESULT hr) : hr_(hr) {}
    HRESULT Result() const { return hr_; }
    const char* what() const noexcept override { return "CXDException"; }

private:
    HRESULT hr_;
};

// Raises CXDException for a failure.
inline void ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        throw CXDException(hr);
}

// Runs body and turns CXDException and allocation failure into HRESULTs: the wrapper of every
// COM method, hook and export whose body may raise.
template <class Body>
HRESULT GuardResult(Body&& body) noexcept
{
    try {
        return body();
    } catch (const CXDException& e) {
        return e.Result();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
