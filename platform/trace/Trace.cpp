#include "platform/trace/Trace.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <sys/syscall.h>

namespace {

struct Provider {
    WMIDPREQUEST callback = nullptr;
    void* context = nullptr;
    GUID controlGuid;
    std::string name;
};

struct Logger {
    std::string providerName;
    UCHAR level = 0;
    ULONG flags = 0;
};

// Process-wide: the platform library is shared by the host and every plug-in.
struct TraceTables {
    std::mutex lock;
    std::map<TRACEHANDLE, Provider> providers;
    std::map<TRACEHANDLE, Logger> loggers;
    TRACEHANDLE nextHandle = 1;
    std::atomic<std::uint32_t> sequence{0};
};

// Never destroyed: plug-ins unregister from their unload code, which may run after the
// process's static objects are gone.
TraceTables& Tables()
{
    static TraceTables& tables = *new TraceTables;
    return tables;
}

// Calls the provider's callback outside the lock: the callback reads the logger back through
// GetTraceEnableLevel and GetTraceEnableFlags.
ULONG SendControl(const Provider& provider, WMIDPREQUESTCODE code, TRACEHANDLE logger)
{
    WNODE_HEADER header;
    header.HistoricalContext = logger;
    header.Guid = provider.controlGuid;
    ULONG size = sizeof(header);
    return provider.callback(code, provider.context, &size, &header);
}

// Finds the provider of controlGuid; with a level, also makes a logger for it.
bool FindProvider(const GUID& controlGuid, Provider* found, TRACEHANDLE* registration)
{
    TraceTables& tables = Tables();
    std::lock_guard guard(tables.lock);
    for (const auto& [handle, provider] : tables.providers) {
        if (provider.controlGuid == controlGuid) {
            *found = provider;
            *registration = handle;
            return true;
        }
    }
    return false;
}

TRACEHANDLE MakeLogger(const std::string& providerName, UCHAR level, ULONG flags)
{
    TraceTables& tables = Tables();
    std::lock_guard guard(tables.lock);
    const TRACEHANDLE logger = tables.nextHandle++;
    tables.loggers[logger] = Logger{providerName, level, flags};
    return logger;
}

void DropLoggersOf(const std::string& providerName)
{
    TraceTables& tables = Tables();
    std::lock_guard guard(tables.lock);
    std::erase_if(tables.loggers, [&](const auto& entry) { return entry.second.providerName == providerName; });
}

} // namespace

bool TraceEnvironmentSelects(std::string_view providerName)
{
    const char* value = std::getenv("XPSCHAIN_TRACE");
    if (!value || providerName.empty())
        return false;
    std::string_view list(value);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view item = list.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (item == "all" || item == providerName)
            return true;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return false;
}

ULONG RegisterTraceGuidsW(WMIDPREQUEST callback, void* context, const GUID* controlGuid, ULONG,
                          TRACE_GUID_REGISTRATION*, const char* providerName, TRACEHANDLE* registration)
{
    if (!callback || !controlGuid || !registration)
        return ERROR_INVALID_PARAMETER;
    Provider provider{callback, context, *controlGuid, providerName ? providerName : ""};
    {
        TraceTables& tables = Tables();
        std::lock_guard guard(tables.lock);
        *registration = tables.nextHandle++;
        tables.providers[*registration] = provider;
    }
    if (TraceEnvironmentSelects(provider.name))
        SendControl(provider, WMI_ENABLE_EVENTS, MakeLogger(provider.name, kTraceLevelVerbose, kTraceAllFlags));
    return 0;
}

ULONG UnregisterTraceGuids(TRACEHANDLE registration)
{
    std::string name;
    {
        TraceTables& tables = Tables();
        std::lock_guard guard(tables.lock);
        const auto it = tables.providers.find(registration);
        if (it == tables.providers.end())
            return ERROR_INVALID_PARAMETER;
        name = it->second.name;
        tables.providers.erase(it);
    }
    DropLoggersOf(name);
    return 0;
}

TRACEHANDLE GetTraceLoggerHandle(void* buffer)
{
    return buffer ? static_cast<const WNODE_HEADER*>(buffer)->HistoricalContext : 0;
}

UCHAR GetTraceEnableLevel(TRACEHANDLE logger)
{
    TraceTables& tables = Tables();
    std::lock_guard guard(tables.lock);
    const auto it = tables.loggers.find(logger);
    return it == tables.loggers.end() ? 0 : it->second.level;
}

ULONG GetTraceEnableFlags(TRACEHANDLE logger)
{
    TraceTables& tables = Tables();
    std::lock_guard guard(tables.lock);
    const auto it = tables.loggers.find(logger);
    return it == tables.loggers.end() ? 0 : it->second.flags;
}

ULONG EnableTraceProvider(const GUID& controlGuid, UCHAR level, ULONG flags)
{
    Provider provider;
    TRACEHANDLE registration = 0;
    if (!FindProvider(controlGuid, &provider, &registration))
        return ERROR_NOT_FOUND;
    DropLoggersOf(provider.name);
    return SendControl(provider, WMI_ENABLE_EVENTS, MakeLogger(provider.name, level, flags));
}

ULONG DisableTraceProvider(const GUID& controlGuid)
{
    Provider provider;
    TRACEHANDLE registration = 0;
    if (!FindProvider(controlGuid, &provider, &registration))
        return ERROR_NOT_FOUND;
    const ULONG result = SendControl(provider, WMI_DISABLE_EVENTS, 0);
    DropLoggersOf(provider.name);
    return result;
}

ULONG TraceMessage(TRACEHANDLE logger, ULONG messageFlags, const GUID* messageGuid, USHORT messageNumber,
                   const char* format, ...)
{
    if (!format)
        return ERROR_INVALID_PARAMETER;
    std::string providerName;
    {
        TraceTables& tables = Tables();
        std::lock_guard guard(tables.lock);
        const auto it = tables.loggers.find(logger);
        if (it == tables.loggers.end())
            return 0;
        providerName = it->second.providerName;
    }
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);

    std::string prefix = "[" + providerName;
    if (messageFlags & TRACE_MESSAGE_SEQUENCE)
        prefix += " #" + std::to_string(++Tables().sequence);
    if (messageFlags & TRACE_MESSAGE_TIMESTAMP) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch()).count();
        prefix += " t=" + std::to_string(ms) + "ms";
    }
    if (messageFlags & TRACE_MESSAGE_SYSTEMINFO)
        prefix += " pid=" + std::to_string(getpid()) + " tid=" + std::to_string(syscall(SYS_gettid));
    if ((messageFlags & TRACE_MESSAGE_GUID) && messageGuid)
        prefix += " " + FormatGuid(*messageGuid) + "/" + std::to_string(messageNumber);
    // One write per message so that messages of concurrent filters do not interleave.
    std::fprintf(stderr, "%s] %s\n", prefix.c_str(), text);
    return 0;
}
