#include "host/package/PackageError.h"

#include "host/package/PackageErrorSource.h"

std::string PackageError::Text() const
{
    if (!Failed())
        return {};
    return part.empty() ? message : part + ": " + message;
}

HRESULT CPackageDiagnostics::Record(HRESULT result, const std::string& part, const std::string& message)
{
    std::lock_guard lock(mutex_);
    if (!first_.Failed() && FAILED(result))
        first_ = PackageError{result, part, message};
    return result;
}

PackageError CPackageDiagnostics::First() const
{
    std::lock_guard lock(mutex_);
    return first_;
}

PackageError LastPackageError(IUnknown* providerOrWriter)
{
    const auto* source = dynamic_cast<const IPackageErrorSource*>(providerOrWriter);
    return source ? source->FirstError() : PackageError{};
}
