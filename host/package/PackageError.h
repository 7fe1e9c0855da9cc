#pragma once
// What went wrong with a package, for the message the user sees: the result, the part at fault
// and a one-line reason.
#include <mutex>
#include <string>

#include "platform/com/Unknown.h"

struct PackageError {
    HRESULT result = S_OK;
    std::string part;     // the part name at fault ("/Documents/1/Pages/3.fpage"), or the file
    std::string message;  // one line, no part name repeated

    bool Failed() const { return FAILED(result); }
    // "<part>: <message>", or empty when nothing failed.
    std::string Text() const;
};

// Collects the first failure of a package reader or writer. Shared by the provider or writer and
// every part and stream it made, so a failure found on any filter thread lands here; thread safe.
class CPackageDiagnostics {
public:
    // Keeps the first failure only; later ones are usually its consequences. Returns result.
    HRESULT Record(HRESULT result, const std::string& part, const std::string& message);
    HRESULT Record(const PackageError& error) { return Record(error.result, error.part, error.message); }
    PackageError First() const;

private:
    mutable std::mutex mutex_;
    PackageError first_;
};

// The first failure recorded by a provider from OpenXpsPackage or a writer from
// CreateXpsPackageWriter, found while yielding parts, reading their streams or writing; an empty
// error (result S_OK) when none was recorded or the object was not made by this library.
PackageError LastPackageError(IUnknown* providerOrWriter);
