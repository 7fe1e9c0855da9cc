#include "platform/printticket/PrinterRegistry.h"

#include "platform/printticket/PrintTicketProvider.h"

namespace printschema {

namespace {
std::shared_ptr<const PrinterDescription> BuiltInPrinter()
{
    static const std::shared_ptr<const PrinterDescription> printer = [] {
        std::string error;
        return ReadPrinterDescription(kBuiltInPrinterDescription, &error);
    }();
    return printer;
}
} // namespace

CPrinterRegistry& CPrinterRegistry::Instance()
{
    static CPrinterRegistry registry;
    return registry;
}

void CPrinterRegistry::Register(std::shared_ptr<const PrinterDescription> printer)
{
    std::lock_guard lock(mutex_);
    const std::string name = printer->name;
    printers_[name] = std::move(printer);
}

std::shared_ptr<const PrinterDescription> CPrinterRegistry::Find(const std::string& name) const
{
    {
        std::lock_guard lock(mutex_);
        if (const auto found = printers_.find(name); found != printers_.end())
            return found->second;
    }
    return name == kDefaultPrinterName ? BuiltInPrinter() : nullptr;
}

} // namespace printschema
