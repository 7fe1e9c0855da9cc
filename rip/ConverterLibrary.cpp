#include "rip/ConverterLibrary.h"

#include "platform/spooler/Spooler.h"

CConverterLibrary::CConverterLibrary(const char* moduleName)
{
    // The converter libraries of this driver version live in the "3" folder of the driver directory.
    const std::string directory = GetPrinterDriverDirectoryW() + "/3/";
    file_ = directory + ModuleFileNameFor(moduleName);
    module_ = LoadLibraryW(directory + moduleName);
    if (!module_) {
        result_ = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
        failure_ = "cannot load " + file_ + ": " + ModuleLastError();
    }
}

CConverterLibrary::~CConverterLibrary()
{
    if (module_)
        FreeLibrary(module_);
}

void* CConverterLibrary::Resolve(const char* name)
{
    if (!module_)
        return nullptr;
    void* entry = GetProcAddress(module_, name);
    if (!entry && SUCCEEDED(result_)) {
        result_ = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
        failure_ = file_ + " lacks the entry point " + name + ": " + ModuleLastError();
    }
    return entry;
}
