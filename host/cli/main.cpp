// xpschain: runs print jobs through the printer driver's filter chain.
#include <cstdio>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/PrintCommand.h"
#include "host/cli/SignalWatcher.h"
#include "host/runner/FilterPlugin.h"

namespace {

// The program's version and that of every filter the built-in pipeline names, as each plug-in
// declares it.
int PrintVersion()
{
    std::printf("xpschain %s\n", XPSCHAIN_VERSION);
    const std::string directory = ProgramDirectory() + "/../lib";
    for (const FilterEntry& entry : DefaultPipelineConfig().filters) {
        CFilterPlugin plugin;
        std::string error;
        const std::string version = plugin.Load(entry, directory, &error) ? plugin.Version() : std::string();
        std::printf("  %-13s %s\n", entry.name.c_str(), version.empty() ? "(not installed)" : version.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Before any thread exists, so that only the watcher ever receives them.
    CSignalWatcher::Block();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(arguments, &line, &error)) {
        std::fprintf(stderr, "xpschain: %s\nTry 'xpschain --help'.\n", error.c_str());
        return 2;
    }
    switch (line.command) {
    case Command::kHelp:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case Command::kVersion:
        return PrintVersion();
    case Command::kPrint:
        return RunPrintCommand(line.print);
    }
    return 2;
}
