// Module entry of the layout filter plug-in.
#include "layout/LayoutFilter.h"

#include "framework/ModuleEntry.h"

XPSCHAIN_FILTER_MODULE(CLayoutFilter, "layoutfilter", "layout", "{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D}",
                       "{B4F49D45-28DE-40AC-B557-E642AC539303}")
