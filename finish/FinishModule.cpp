// Module entry of the finisher filter plug-in.
#include "finish/FinishFilter.h"

#include "framework/ModuleEntry.h"

XPSCHAIN_FILTER_MODULE(CFinishFilter, "finishfilter", "finisher", "{ACF994F0-C691-4546-8141-A7F794D3CE3E}",
                       "{4C7B822B-2F4B-4EA6-95D8-E9584C57D467}")
