#pragma once
// The command line of xpschain: which command, and the options of a print job.
#include <string>
#include <utility>
#include <vector>

enum class Command { kHelp, kVersion, kPrint };

struct PrintOptions {
    std::string input;             // the job, an XPS or OpenXPS package
    std::string output;            // -o: the package or the device data
    std::string printer;           // --printer: a registered name or a printer description file
    std::string userTicket;        // --user-ticket: a PrintTicket file
    std::string stopAfter;         // --stop-after: the last filter to run
    std::string driverDirectory;   // --driver-dir
    std::string pipeline;          // --pipeline: a pipeline configuration file
    std::string pluginDirectory;   // --plugin-dir
    std::vector<std::pair<std::string, std::string>> properties;  // --property NAME=VALUE
    bool quiet = false;
};

struct CommandLine {
    Command command = Command::kHelp;
    PrintOptions print;
};

// False with a one-line *error for an unknown command or option, a missing value or argument.
// Options take their value as the next argument or after '='.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine* line, std::string* error);

// The text of --help.
std::string UsageText();
