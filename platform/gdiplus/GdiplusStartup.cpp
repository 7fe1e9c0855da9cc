#include "platform/gdiplus/GdiplusStartup.h"

#include <mutex>
#include <set>

namespace Gdiplus {
namespace {

struct Sessions {
    std::mutex lock;
    std::set<std::uintptr_t> live;
    std::uintptr_t next = 1;
};

// Never destroyed: a plug-in's filter may be released during the process's exit.
Sessions& AllSessions()
{
    static Sessions& sessions = *new Sessions;
    return sessions;
}

} // namespace

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output)
{
    if (!token || !input)
        return InvalidParameter;
    *token = 0;
    if (input->GdiplusVersion != 1)
        return UnsupportedGdiplusVersion;
    // No background thread exists here, so there are no notification hooks to hand out.
    if (output)
        *output = GdiplusStartupOutput{};
    Sessions& sessions = AllSessions();
    std::lock_guard guard(sessions.lock);
    *token = sessions.next++;
    sessions.live.insert(*token);
    return Ok;
}

void GdiplusShutdown(std::uintptr_t token)
{
    Sessions& sessions = AllSessions();
    std::lock_guard guard(sessions.lock);
    sessions.live.erase(token);
}

long GdiplusLiveSessionCount()
{
    Sessions& sessions = AllSessions();
    std::lock_guard guard(sessions.lock);
    return static_cast<long>(sessions.live.size());
}

} // namespace Gdiplus
