#include "platform/module/Module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <utility>

struct ModuleRecord {
    std::string path;
    void* library = nullptr;  // the loader's handle while loads > 0
    int loads = 0;
};

namespace {

thread_local std::string lastError;

// Records live for the process, keyed by the file the loader reports, so that every handle of one
// library is the same record.
struct ModuleTable {
    std::mutex lock;
    std::map<std::string, ModuleRecord> records;

    ModuleRecord* Find(const std::string& path)
    {
        ModuleRecord& record = records[path];
        record.path = path;
        return &record;
    }
};

// Never destroyed: plug-ins ask for module handles from their unload code, which may run after the
// process's static objects are gone.
ModuleTable& Table()
{
    static ModuleTable& table = *new ModuleTable;
    return table;
}

void KeepLoaderError(const char* fallback)
{
    const char* text = dlerror();
    lastError = text ? text : fallback;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::string ModuleFileNameFor(std::string_view moduleName)
{
    if (EndsWithNoCase(moduleName, ".so") || moduleName.find(".so.") != std::string_view::npos)
        return std::string(moduleName);
    if (EndsWithNoCase(moduleName, ".dll"))
        moduleName.remove_suffix(4);
    std::string file = "lib";
    for (const char c : moduleName)
        file += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return file + ".so";
}

HMODULE ModuleHandleFromAddress(const void* address)
{
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname) {
        lastError = "no loaded module holds that address";
        return nullptr;
    }
    ModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    return table.Find(info.dli_fname);
}

HMODULE LoadLibraryW(std::string_view path)
{
    std::string file(path);
    std::replace(file.begin(), file.end(), '\\', '/');
    const std::size_t slash = file.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    file = file.substr(0, nameStart) + ModuleFileNameFor(std::string_view(file).substr(nameStart));

    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        KeepLoaderError("the library could not be loaded");
        return nullptr;
    }
    link_map* map = nullptr;
    const std::string loadedPath = dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name
                                       ? std::string(map->l_name)
                                       : file;
    ModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    // Every load keeps its loader count, given back by one FreeLibrary.
    ModuleRecord* record = table.Find(loadedPath);
    record->library = library;
    ++record->loads;
    return record;
}

FARPROC GetProcAddress(HMODULE module, const char* name)
{
    if (!module || !name) {
        lastError = "no module or no symbol name";
        return nullptr;
    }
    void* library = nullptr;
    {
        ModuleTable& table = Table();
        std::lock_guard guard(table.lock);
        library = module->library;
    }
    // A module known only by address (the caller's own) is looked up through the loader, holding
    // it only for the lookup.
    void* held = nullptr;
    if (!library) {
        held = library = dlopen(module->path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!library) {
            KeepLoaderError("the module is not loaded");
            return nullptr;
        }
    }
    dlerror();
    void* symbol = dlsym(library, name);
    if (!symbol)
        KeepLoaderError("the symbol is not exported");
    if (held)
        dlclose(held);
    return symbol;
}

BOOL FreeLibrary(HMODULE module)
{
    if (!module)
        return 0;
    void* library = nullptr;
    {
        ModuleTable& table = Table();
        std::lock_guard guard(table.lock);
        if (module->loads == 0) {
            lastError = "the module holds no load";
            return 0;
        }
        library = module->library;
        if (--module->loads == 0)
            module->library = nullptr;
    }
    // Outside the lock: unloading runs the library's detach code, which may ask for module handles.
    if (library && dlclose(library) != 0) {
        KeepLoaderError("the library could not be unloaded");
        return 0;
    }
    return 1;
}

std::string GetModuleFileNameW(HMODULE module)
{
    if (module)
        return module->path;
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::string ModuleLastError() { return lastError; }
