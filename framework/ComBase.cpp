#include "framework/ComBase.h"

namespace {
// One count per deliverable: the framework library is linked into each plug-in on its own.
std::atomic<std::int32_t> liveObjects{0};
}

namespace module_objects {
void Increment() { ++liveObjects; }
void Decrement() { --liveObjects; }
}

std::int32_t ModuleLiveObjectCount() { return liveObjects.load(); }
