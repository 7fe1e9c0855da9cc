#include "rip/PageDeviceCodes.h"

std::int32_t RotationCode(bool landscape, std::int32_t portraitRotation, std::int32_t landscapeRotation)
{
    const std::int32_t degrees = landscape ? landscapeRotation : portraitRotation;
    switch (degrees) {
    case 0: return 2;
    case 90: return 3;
    case 180: return 4;
    case 270: return 5;
    default: return landscape ? 5 : 2;
    }
}

std::int32_t PlaneCode(std::int32_t outputPlanes)
{
    return outputPlanes == 1 || outputPlanes == 4 ? outputPlanes : 3;
}

PageResolution ConverterResolution(bool read, std::int32_t x, std::int32_t y)
{
    constexpr std::int32_t kResolutions[] = {1200, 600, 300, 200, 150};
    if (read && x == y) {
        for (std::int32_t dpi : kResolutions) {
            if (dpi == x)
                return {x, y};
        }
    }
    return {};
}
