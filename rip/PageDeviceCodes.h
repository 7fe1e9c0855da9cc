#pragma once
// The converter's codes for a page: rotation, colour planes and resolution, from the page's ticket
// values and the pipeline's output properties. Pure functions of numbers.
#include <cstdint>

// 2 none, 3 90°, 4 180°, 5 270°. A landscape page (Landscape or ReverseLandscape) turns by
// landscapeRotation, where 0, 90 and 180 are kept and anything else is taken as 270; a portrait
// page turns by portraitRotation, where 90, 180 and 270 are kept and anything else is taken as 0.
std::int32_t RotationCode(bool landscape, std::int32_t portraitRotation, std::int32_t landscapeRotation);

// 1 for one plane, 4 for four, 3 for anything else.
std::int32_t PlaneCode(std::int32_t outputPlanes);

struct PageResolution {
    std::int32_t x = 600;
    std::int32_t y = 600;
};
// The ticket's resolution when both values were read and the pair is one the converter takes
// (1200, 600, 300, 200 or 150 dpi, the same both ways); otherwise 600 × 600.
PageResolution ConverterResolution(bool read, std::int32_t x, std::int32_t y);
