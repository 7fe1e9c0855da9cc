#pragma once
// The device mode record handed to a device converter: a public part laid out like the Windows
// DEVMODEW record (the fields a converter reads are at their usual offsets) and a private part of
// dmDriverExtra bytes right behind it (docs/devmode.md describes both).
#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)
struct DEVMODE {
    char16_t dmDeviceName[32];     //   0: printer name, UTF-16, zero-terminated
    std::uint16_t dmSpecVersion;   //  64: 0x0401
    std::uint16_t dmDriverVersion; //  66
    std::uint16_t dmSize;          //  68: size of the public part, 220
    std::uint16_t dmDriverExtra;   //  70: size of the private part that follows
    std::uint32_t dmFields;        //  72: DM_* bits of the fields set
    std::int16_t dmOrientation;    //  76: DMORIENT_*
    std::int16_t dmPaperSize;      //  78: DMPAPER_* code, 0 for a size given only by width and length
    std::int16_t dmPaperLength;    //  80: tenths of a millimetre
    std::int16_t dmPaperWidth;     //  82: tenths of a millimetre
    std::int16_t dmScale;          //  84: percent
    std::int16_t dmCopies;         //  86
    std::int16_t dmDefaultSource;  //  88: DMBIN_* code of the input bin
    std::int16_t dmPrintQuality;   //  90: X resolution in dpi
    std::int16_t dmColor;          //  92: DMCOLOR_*
    std::int16_t dmDuplex;         //  94: DMDUP_*
    std::int16_t dmYResolution;    //  96: dpi
    std::int16_t dmTTOption;       //  98
    std::int16_t dmCollate;        // 100: DMCOLLATE_*
    char16_t dmFormName[32];       // 102: paper name, UTF-16
    std::uint16_t dmLogPixels;     // 166
    std::uint32_t dmBitsPerPel;    // 168
    std::uint32_t dmPelsWidth;     // 172
    std::uint32_t dmPelsHeight;    // 176
    std::uint32_t dmNup;           // 180
    std::uint32_t dmDisplayFrequency; // 184
    std::uint32_t dmICMMethod;     // 188
    std::uint32_t dmICMIntent;     // 192
    std::uint32_t dmMediaType;     // 196
    std::uint32_t dmDitherType;    // 200
    std::uint32_t dmReserved1;     // 204
    std::uint32_t dmReserved2;     // 208
    std::uint32_t dmPanningWidth;  // 212
    std::uint32_t dmPanningHeight; // 216
};
#pragma pack(pop)
static_assert(sizeof(DEVMODE) == 220);
static_assert(offsetof(DEVMODE, dmPaperSize) == 78 && offsetof(DEVMODE, dmYResolution) == 96 &&
              offsetof(DEVMODE, dmFormName) == 102);

inline constexpr std::uint32_t DM_ORIENTATION = 0x00000001;
inline constexpr std::uint32_t DM_PAPERSIZE = 0x00000002;
inline constexpr std::uint32_t DM_PAPERLENGTH = 0x00000004;
inline constexpr std::uint32_t DM_PAPERWIDTH = 0x00000008;
inline constexpr std::uint32_t DM_SCALE = 0x00000010;
inline constexpr std::uint32_t DM_COPIES = 0x00000100;
inline constexpr std::uint32_t DM_DEFAULTSOURCE = 0x00000200;
inline constexpr std::uint32_t DM_PRINTQUALITY = 0x00000400;
inline constexpr std::uint32_t DM_COLOR = 0x00000800;
inline constexpr std::uint32_t DM_DUPLEX = 0x00001000;
inline constexpr std::uint32_t DM_YRESOLUTION = 0x00002000;
inline constexpr std::uint32_t DM_COLLATE = 0x00008000;
inline constexpr std::uint32_t DM_FORMNAME = 0x00010000;
inline constexpr std::uint32_t DM_NUP = 0x00000040;

inline constexpr std::int16_t DMORIENT_PORTRAIT = 1;
inline constexpr std::int16_t DMORIENT_LANDSCAPE = 2;
inline constexpr std::int16_t DMCOLOR_MONOCHROME = 1;
inline constexpr std::int16_t DMCOLOR_COLOR = 2;
inline constexpr std::int16_t DMDUP_SIMPLEX = 1;
inline constexpr std::int16_t DMDUP_VERTICAL = 2;    // long edge
inline constexpr std::int16_t DMDUP_HORIZONTAL = 3;  // short edge
inline constexpr std::int16_t DMCOLLATE_FALSE = 0;
inline constexpr std::int16_t DMCOLLATE_TRUE = 1;
