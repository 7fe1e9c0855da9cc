// Module entry of the preparation filter plug-in.
#include "prep/PrepFilter.h"

#include "framework/ModuleEntry.h"

XPSCHAIN_FILTER_MODULE(CPrepFilter, "prepfilter", "preparation", "{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}",
                       "{E068A897-BE77-4097-B29E-5AD3615EA48A}")
