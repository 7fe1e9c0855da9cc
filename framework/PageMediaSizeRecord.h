#pragma once
// The paper of a ticket: size and orientation from the keyword features, and the driver's private
// paper data (units, transverse feed, thickness, margins, custom paper template).
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/TicketDocument.h"

// Orientation words, by index: 0 Landscape, 1 Portrait, 2 ReverseLandscape, 3 ReversePortrait.
inline constexpr std::string_view kOrientationWords[] = {"Landscape", "Portrait", "ReverseLandscape", "ReversePortrait"};
// Thickness words, by index.
inline constexpr std::string_view kThicknessWords[] = {"Regular", "Thick", "Envelope"};
inline constexpr char kCustomMediaSize[] = "CustomMediaSize";

struct PageMediaSizeRecord {
    std::string mediaName = "NorthAmericaLetter";  // option of PageMediaSize, prefix removed
    bool mediaNameIsPrivate = false;                // the option carried the private prefix
    std::int32_t width = 215900;                    // microns
    std::int32_t height = 279400;                   // microns
    std::uint32_t orientation = 1;                  // index into kOrientationWords
    bool customUnitIsInch = false;                  // CustomUnitType "inch" / "mm"
    bool transverse = false;                        // TransverseMode "On" / "Off"
    std::uint32_t thickness = 0;                    // index into kThicknessWords
    bool fixedMargin = false;                       // UseFixedMargin "On" / "Off"
    std::int32_t documentMarginLeft = -1;
    std::int32_t documentMarginRight = -1;
    std::int32_t documentMarginTop = -1;
    std::int32_t documentMarginBottom = -1;
    std::int32_t outputMarginLeft = -1;
    std::int32_t outputMarginRight = -1;
    std::int32_t outputMarginTop = -1;
    std::int32_t outputMarginBottom = -1;
    std::int16_t customPaperTemplate = 256;

    friend bool operator==(const PageMediaSizeRecord&, const PageMediaSizeRecord&) = default;
};

// Fills record from a ticket. S_OK, ResultDefaulted when some source was absent and the record kept
// its default there, or the failure that ended the reading of the private data.
HRESULT ReadPageMediaSize(const CTicketDocument& document, PageMediaSizeRecord* record);
// Replaces the ticket's PageMediaSize, PageOrientation and private paper data with the record's.
// A CustomMediaSize gives its size through parameters. E_INVALIDARG for an index out of range.
HRESULT WritePageMediaSize(CTicketDocument& document, const PageMediaSizeRecord& record);
