#pragma once
#include <utility>

#include "platform/com/ComPtr.h"

// Makes a COM object of the tests with the caller holding its only reference.
template <class T, class... Arguments>
ComPtr<T> MakeTestObject(Arguments&&... arguments)
{
    ComPtr<T> object;
    object.Attach(new T(std::forward<Arguments>(arguments)...));
    return object;
}
