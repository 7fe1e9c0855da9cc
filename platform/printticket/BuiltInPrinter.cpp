// The built-in printer, in the format of the printer description files so that one reader serves
// both: the text of examples/printers/default.xml, compiled in.
#include "platform/printticket/PrinterDescription.h"

namespace printschema {

const char kBuiltInPrinterDescription[] =
#include "platform/printticket/DefaultPrinter.inc"
    ;

} // namespace printschema
