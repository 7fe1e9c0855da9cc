#include "tools/SystemFont.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

std::string FindSystemTrueTypeFont()
{
    std::string path;
    // A configuration of our own, destroyed after the lookup, so that no global state stays behind.
    if (FcConfig* config = FcInitLoadConfigAndFonts()) {
        if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:style=Book:fontformat=TrueType"))) {
            FcConfigSubstitute(config, pattern, FcMatchPattern);
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
                FcChar8* file = nullptr;
                if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
                    const std::string found(reinterpret_cast<const char*>(file));
                    if (found.ends_with(".ttf") || found.ends_with(".TTF"))
                        path = found;
                }
                FcPatternDestroy(match);
            }
            FcPatternDestroy(pattern);
        }
        FcConfigDestroy(config);
    }
    const char* debian = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (path.empty() && access(debian, R_OK) == 0)
        path = debian;
    return path;
}
