#pragma once
// The page values the converter gets before a page's markup (XpsSetPageDevice).
#include <cstdint>

struct PageDeviceRecord {
    std::int32_t width = 0;            // media width, microns
    std::int32_t height = 0;           // media height, microns
    std::int32_t resolutionX = 0;      // dpi
    std::int32_t resolutionY = 0;      // dpi
    std::int32_t rotationCode = 0;     // 2 none, 3 90°, 4 180°, 5 270°
    std::int32_t planeCode = 0;        // 1, 3 or 4
    std::int32_t outputPlanes = 0;     // property "OutputPlanes"
    std::int32_t outputBitsPixel = 0;  // property "OutputBitsPixel"
};
