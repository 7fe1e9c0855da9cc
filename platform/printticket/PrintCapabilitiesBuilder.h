#pragma once
// The PrintCapabilities of a printer for one complete ticket, and the imageable area of the
// ticket's paper in its orientation.
#include <cstdint>
#include <optional>

#include "platform/printticket/PrinterDescription.h"

namespace printschema {

// PageImageableSize in microns: the sheet as the page sees it, and the printable rectangle on it.
struct ImageableArea {
    std::int64_t width = 0, height = 0;
    std::int64_t originWidth = 0, originHeight = 0, extentWidth = 0, extentHeight = 0;
};

// The area of the ticket's paper (PageMediaSize) turned to its PageOrientation: Landscape is the
// portrait sheet with the content turned a quarter counter-clockwise (the portrait's left margin
// becomes the top one), ReverseLandscape a quarter clockwise, ReversePortrait a half turn.
// nullopt when the ticket has no paper with a size.
std::optional<ImageableArea> ImageableAreaOf(const PrinterDescription& printer, const PsNode& ticket);

// Every feature and parameter definition of the printer, then PageImageableSize for ticket.
PsNode BuildPrintCapabilities(const PrinterDescription& printer, const PsNode& ticket);

} // namespace printschema
