// xpsgen: writes an XPS test job.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/JobGenerator.h"

namespace {

void Usage(std::FILE* out)
{
    std::fputs("usage: xpsgen -o FILE [options]\n"
               "Writes an XPS job of text pages in an embedded TrueType font, with vector paths and an image.\n"
               "  -o FILE            the package to write\n"
               "  --documents N      documents in the job (1)\n"
               "  --pages N          pages in each document (1)\n"
               "  --lines N          text lines on each page (40)\n"
               "  --tickets LIST     print tickets at these levels: any of job,document,page (none)\n"
               "  --no-image         no image on the pages\n"
               "  --no-paths         no vector paths on the pages\n"
               "  --obfuscate-font   embed the font obfuscated (ODTTF)\n"
               "  --openxps          OpenXPS namespace instead of XPS 1.0\n"
               "  --size WxH         page size in 1/96 inch (816x1056)\n"
               "  --font FILE        the TrueType font to embed (DejaVu Sans)\n",
               out);
}

bool Count(const char* text, int* value)
{
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (!*text || *end || n < 1 || n > 1000000)
        return false;
    *value = static_cast<int>(n);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    JobGenSettings settings;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "-o" && value) {
            output = value, ++i;
        } else if (arg == "--documents" && value) {
            ok = Count(value, &settings.documents), ++i;
        } else if (arg == "--pages" && value) {
            ok = Count(value, &settings.pagesPerDocument), ++i;
        } else if (arg == "--lines" && value) {
            ok = Count(value, &settings.linesPerPage), ++i;
        } else if (arg == "--tickets" && value) {
            const std::string list = std::string(",") + value + ",";
            settings.jobTicket = list.find(",job,") != std::string::npos ? DefaultTicket(TicketLevel::Job) : "";
            settings.documentTicket = list.find(",document,") != std::string::npos ? DefaultTicket(TicketLevel::Document) : "";
            settings.pageTicket = list.find(",page,") != std::string::npos ? DefaultTicket(TicketLevel::Page) : "";
            ++i;
        } else if (arg == "--no-image") {
            settings.image = false;
        } else if (arg == "--no-paths") {
            settings.paths = false;
        } else if (arg == "--obfuscate-font") {
            settings.obfuscateFont = true;
        } else if (arg == "--openxps") {
            settings.openXps = true;
        } else if (arg == "--size" && value) {
            ok = std::sscanf(value, "%lfx%lf", &settings.pageWidth, &settings.pageHeight) == 2, ++i;
        } else if (arg == "--font" && value) {
            settings.fontPath = value, ++i;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "xpsgen: bad argument \"%s\"\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    if (output.empty()) {
        Usage(stderr);
        return 2;
    }
    std::string error;
    if (GenerateXpsJob(output, settings, &error) < 0) {
        std::fprintf(stderr, "xpsgen: %s\n", error.c_str());
        std::remove(output.c_str());
        return 1;
    }
    return 0;
}
