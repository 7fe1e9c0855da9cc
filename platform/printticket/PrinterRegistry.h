#pragma once
// The printers known to this process: the registered descriptions and the built-in one. Filters
// open providers from their own threads while the host registers, so every access is locked;
// descriptions are immutable and shared, so a provider keeps its printer even if it is replaced.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/printticket/PrinterDescription.h"

namespace printschema {

class CPrinterRegistry {
public:
    static CPrinterRegistry& Instance();

    // Adds the printer under its name, replacing an earlier one of the same name.
    void Register(std::shared_ptr<const PrinterDescription> printer);
    // The registered printer of that name, else the built-in one when the name is its name; null otherwise.
    std::shared_ptr<const PrinterDescription> Find(const std::string& name) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const PrinterDescription>> printers_;
};

} // namespace printschema
