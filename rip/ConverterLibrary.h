#pragma once
// One library of the device converter, loaded from the printer driver directory's "3" folder by
// its Windows module name ("PRNCORE.DLL" is libprncore.so there), and its entry points by name.
// A library that is missing or lacks an entry point keeps a message naming the file and what the
// loader said, for the user to see.
#include <string>

#include "platform/com/Hresult.h"
#include "platform/module/Module.h"

class CConverterLibrary {
public:
    explicit CConverterLibrary(const char* moduleName);
    CConverterLibrary(const CConverterLibrary&) = delete;
    CConverterLibrary& operator=(const CConverterLibrary&) = delete;
    ~CConverterLibrary();

    // Stores the named entry point in *entry; null (and the failure kept) when it is missing.
    template <class Fn>
    void Bind(const char* name, Fn* entry)
    {
        *entry = reinterpret_cast<Fn>(Resolve(name));
    }

    // S_OK once the library and every bound entry point were found; otherwise
    // HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) or HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND).
    HRESULT Result() const { return result_; }
    // "cannot load <file>: <loader text>" or "<file> lacks the entry point <name>: <loader text>";
    // empty while Result() is S_OK.
    const std::string& Failure() const { return failure_; }

private:
    void* Resolve(const char* name);

    std::string file_;
    HMODULE module_ = nullptr;
    HRESULT result_ = S_OK;
    std::string failure_;
};
