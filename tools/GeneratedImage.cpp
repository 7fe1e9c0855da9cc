#include "tools/GeneratedImage.h"

#include <png.h>

#include <vector>

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t size)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), size);
}

} // namespace

std::string MakeGradientPng()
{
    constexpr int kSide = 64;
    std::vector<png_byte> pixels(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            png_byte* p = &pixels[(y * kSide + x) * 3];
            const bool band = (x + y) / 8 % 4 == 0;
            p[0] = static_cast<png_byte>(x * 4);
            p[1] = static_cast<png_byte>(band ? 255 : y * 4);
            p[2] = static_cast<png_byte>(255 - x * 2);
        }
    }
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToString, nullptr);
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSide; ++y)
        png_write_row(png, &pixels[y * kSide * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
