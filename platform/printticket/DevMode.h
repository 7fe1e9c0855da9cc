#pragma once
// The device mode record handed to a device converter: a public part laid out like the Windows
// DEVMODEW record (the fields a converter reads are at their usual offsets) and a private part of
// dmDriverExtra bytes right behind it (docs/devmode.md describes both).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Paper codes (dmPaperSize) of the papers the printer descriptions name; 0 for any other paper,
// which dmPaperWidth and dmPaperLength then describe.
inline constexpr std::int16_t DMPAPER_LETTER = 1;
inline constexpr std::int16_t DMPAPER_TABLOID = 3;
inline constexpr std::int16_t DMPAPER_LEGAL = 5;
inline constexpr std::int16_t DMPAPER_STATEMENT = 6;
inline constexpr std::int16_t DMPAPER_EXECUTIVE = 7;
inline constexpr std::int16_t DMPAPER_A3 = 8;
inline constexpr std::int16_t DMPAPER_A4 = 9;
inline constexpr std::int16_t DMPAPER_A5 = 11;
inline constexpr std::int16_t DMPAPER_B4 = 12;  // JIS
inline constexpr std::int16_t DMPAPER_B5 = 13;  // JIS
inline constexpr std::int16_t DMPAPER_ENV_10 = 20;
inline constexpr std::int16_t DMPAPER_ENV_DL = 27;
inline constexpr std::int16_t DMPAPER_ENV_C5 = 28;
inline constexpr std::int16_t DMPAPER_ENV_C4 = 30;
inline constexpr std::int16_t DMPAPER_ENV_C6 = 31;
inline constexpr std::int16_t DMPAPER_ENV_MONARCH = 37;
inline constexpr std::int16_t DMPAPER_JAPANESE_POSTCARD = 43;
inline constexpr std::int16_t DMPAPER_A6 = 70;
inline constexpr std::int16_t DMPAPER_B6_JIS = 88;

// Input bin codes (dmDefaultSource). A bin in the private namespace is DMBIN_USER plus its
// position among the printer's PageInputBin options (docs/devmode.md).
inline constexpr std::int16_t DMBIN_UPPER = 1;
inline constexpr std::int16_t DMBIN_LOWER = 2;
inline constexpr std::int16_t DMBIN_MIDDLE = 3;
inline constexpr std::int16_t DMBIN_MANUAL = 4;
inline constexpr std::int16_t DMBIN_ENVELOPE = 5;
inline constexpr std::int16_t DMBIN_AUTO = 7;
inline constexpr std::int16_t DMBIN_TRACTOR = 8;
inline constexpr std::int16_t DMBIN_LARGECAPACITY = 11;
inline constexpr std::int16_t DMBIN_CASSETTE = 14;
inline constexpr std::int16_t DMBIN_USER = 256;

// The private part: a 16-byte header (magic "XCDM", version, header size, entry count, text size,
// little-endian) and UTF-8 text of one entry a line, "K path=value" (docs/devmode.md).
inline constexpr std::uint32_t kDevModePrivateMagic = 0x4D444358;  // "XCDM" in memory order
inline constexpr std::uint16_t kDevModePrivateVersion = 1;
inline constexpr std::uint16_t kDevModePrivateHeaderSize = 16;

// One private setting of the ticket the device mode was made from. kind: 'F' the option of a
// feature, 'S' a scored property of a chosen option, 'P' a property, 'I' a parameter value.
// path: local names from the ticket root joined by '/' ("PageHeaderFooter/DateFormat").
struct DevModePrivateEntry {
    char kind = 0;
    std::string path;
    std::string value;
};

// Reads the private part behind devmode; size is the whole buffer (public + private bytes).
// False, entries untouched, when the part is missing, not ours, or damaged.
bool ReadDevModePrivatePart(const DEVMODE* devmode, std::uint32_t size, std::vector<DevModePrivateEntry>* entries);
