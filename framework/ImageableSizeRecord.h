#pragma once
// The imageable area of the printer's capabilities for a ticket, in microns.
#include <cstdint>

#include "framework/TicketDocument.h"

struct ImageableSizeRecord {
    std::int32_t imageableWidth = 0;
    std::int32_t imageableHeight = 0;
    std::int32_t originWidth = 0;
    std::int32_t originHeight = 0;
    std::int32_t extentWidth = 0;
    std::int32_t extentHeight = 0;

    friend bool operator==(const ImageableSizeRecord&, const ImageableSizeRecord&) = default;
};

// Reads PageImageableSize of a capabilities document: S_OK, or the first failure (ResultNotFound
// for an absent property or value); the values read before it are kept.
HRESULT ReadImageableSize(const CTicketDocument& document, ImageableSizeRecord* record);
