// Module entry of the order filter plug-in.
#include "order/OrderFilter.h"

#include "framework/ModuleEntry.h"

XPSCHAIN_FILTER_MODULE(COrderFilter, "orderfilter", "order", "{0338B91C-FB1A-409B-B13C-F0AE34025A82}",
                       "{977A71CB-A363-413E-A5C2-E68D4BB3CD62}")
