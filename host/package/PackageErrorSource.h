#pragma once
// The objects that LastPackageError asks: the provider and the writer of this library.
#include "host/package/PackageError.h"

class IPackageErrorSource {
public:
    virtual PackageError FirstError() const = 0;

protected:
    ~IPackageErrorSource() = default;
};
