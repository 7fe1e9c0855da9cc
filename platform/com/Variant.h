#pragma once
// The small VARIANT of the property bag: empty, 32-bit integers, BOOL, BSTR and interface pointers.
#include <cstdint>

#include "platform/com/Bstr.h"
#include "platform/com/Unknown.h"

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;

inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_UI4 = 19;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        std::int32_t lVal;
        std::uint32_t ulVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown* punkVal;
    };
};

void VariantInit(VARIANT* value);
// Frees a BSTR or releases an interface held, then leaves the value empty.
HRESULT VariantClear(VARIANT* value);
// Deep copy: BSTRs are duplicated, interfaces get a reference of their own.
HRESULT VariantCopy(VARIANT* destination, const VARIANT* source);

// Owns the contents of one VARIANT.
class CVariant : public VARIANT {
public:
    CVariant() { VariantInit(this); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { VariantClear(this); }
};
