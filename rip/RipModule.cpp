// The module entry of the RIP filter plug-in. Its further exports are the converter's resource
// callbacks (ResourceCallbacks.cpp).
#include "framework/ModuleEntry.h"
#include "rip/RipFilter.h"

XPSCHAIN_FILTER_MODULE(CRipFilter, "ripfilter", "RIP", "{4048888E-2F5E-491B-9AF4-5963D0011F0F}",
                       "{70EADFF1-3577-4A36-B037-297EB87A51C0}")
