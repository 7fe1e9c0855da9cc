#include "host/cli/CommandLine.h"

#include <map>

namespace {

// The options of print that take a value, and where the value goes.
using Field = std::string PrintOptions::*;
const std::map<std::string, Field, std::less<>> kValueOptions = {
    {"-o", &PrintOptions::output},
    {"--output", &PrintOptions::output},
    {"--printer", &PrintOptions::printer},
    {"--user-ticket", &PrintOptions::userTicket},
    {"--stop-after", &PrintOptions::stopAfter},
    {"--driver-dir", &PrintOptions::driverDirectory},
    {"--pipeline", &PrintOptions::pipeline},
    {"--plugin-dir", &PrintOptions::pluginDirectory},
};

bool ParsePrint(const std::vector<std::string>& arguments, std::size_t first, PrintOptions* options, std::string* error)
{
    for (std::size_t i = first; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--quiet" || argument == "-q") {
            options->quiet = true;
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                *error = "option " + name + " needs a value";
                return false;
            }
            if (name == "--property") {
                const std::size_t split = value.find('=');
                if (split == std::string::npos || split == 0) {
                    *error = "--property needs NAME=VALUE, not '" + value + "'";
                    return false;
                }
                options->properties.emplace_back(value.substr(0, split), value.substr(split + 1));
                continue;
            }
            const auto option = kValueOptions.find(name);
            if (option == kValueOptions.end()) {
                *error = "unknown option " + name;
                return false;
            }
            options->*(option->second) = value;
            continue;
        }
        if (!options->input.empty()) {
            *error = "one job at a time: '" + argument + "' follows '" + options->input + "'";
            return false;
        }
        options->input = argument;
    }
    if (options->input.empty()) {
        *error = "print needs a job file";
        return false;
    }
    if (options->output.empty()) {
        *error = "print needs an output file (-o OUT)";
        return false;
    }
    return true;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine* line, std::string* error)
{
    if (arguments.empty()) {
        *error = "no command given";
        return false;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        line->command = Command::kHelp;
        return true;
    }
    if (command == "--version" || command == "version") {
        line->command = Command::kVersion;
        return true;
    }
    if (command == "print") {
        line->command = Command::kPrint;
        for (const std::string& argument : arguments) {
            if (argument == "--help" || argument == "-h") {
                line->command = Command::kHelp;
                return true;
            }
        }
        return ParsePrint(arguments, 1, &line->print, error);
    }
    *error = "unknown command '" + command + "'";
    return false;
}

std::string UsageText()
{
    return R"(Usage: xpschain print JOB.xps -o OUT [options]
       xpschain --version
       xpschain --help

Runs a print job (an XPS or OpenXPS package) through the printer driver's filter chain:
preparation, order, layout, finisher and RIP filter. The output is the printer's device data,
or an XPS package when the chain stops before the RIP filter.

Options of print:
  -o, --output OUT        where the output goes; it appears only once the job went through
  --printer NAME|FILE     a registered printer, or a printer description file to register
                          (default: the built-in printer)
  --user-ticket FILE      the user's PrintTicket (default: the printer's default ticket)
  --stop-after FILTER     end the chain after FILTER (prepfilter, orderfilter, layoutfilter,
                          finishfilter) and write an XPS package
  --property NAME=VALUE   a pipeline property for the filters (repeatable); an integer value is
                          passed as a number, anything else as text
  --driver-dir DIR        the printer driver directory with the converter libraries
                          (default: ../lib/driver beside xpschain)
  --pipeline FILE         the pipeline configuration (default: the built-in five filters)
  --plugin-dir DIR        where the filter plug-ins are (default: ../lib beside xpschain)
  -q, --quiet             no progress and no summary

Exit status: 0 when the job went through, 1 when it failed, 2 for a usage error,
128+N when signal N interrupted it.
)";
}
