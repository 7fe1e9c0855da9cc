// The command line of xpschain.
#include <gtest/gtest.h>

#include "host/cli/CommandLine.h"

namespace {

TEST(CommandLineTest, PrintTakesTheJobTheOutputAndItsOptions)
{
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"print", "job.xps", "-o", "out.prn", "--printer", "printer.xml", "--user-ticket=t.xml",
                                  "--stop-after", "layoutfilter", "--property", "LandscapeRotation=90",
                                  "--property=EncDllName64=enc.so", "--driver-dir", "/d", "--pipeline", "p.xml",
                                  "--plugin-dir", "/p", "--quiet"},
                                 &line, &error))
        << error;
    const PrintOptions& o = line.print;
    EXPECT_EQ(Command::kPrint, line.command);
    EXPECT_EQ("job.xps", o.input);
    EXPECT_EQ("out.prn", o.output);
    EXPECT_EQ("printer.xml", o.printer);
    EXPECT_EQ("t.xml", o.userTicket);
    EXPECT_EQ("layoutfilter", o.stopAfter);
    EXPECT_EQ("/d", o.driverDirectory);
    EXPECT_EQ("p.xml", o.pipeline);
    EXPECT_EQ("/p", o.pluginDirectory);
    EXPECT_TRUE(o.quiet);
    const std::vector<std::pair<std::string, std::string>> properties = {{"LandscapeRotation", "90"},
                                                                         {"EncDllName64", "enc.so"}};
    EXPECT_EQ(properties, o.properties);
}

TEST(CommandLineTest, HelpAndVersion)
{
    const std::pair<std::vector<std::string>, Command> cases[] = {
        {{"--help"}, Command::kHelp},
        {{"print", "job.xps", "--help"}, Command::kHelp},
        {{"--version"}, Command::kVersion},
    };
    for (const auto& [arguments, command] : cases) {
        CommandLine line;
        std::string error;
        ASSERT_TRUE(ParseCommandLine(arguments, &line, &error)) << error;
        EXPECT_EQ(command, line.command) << arguments[0];
    }
    EXPECT_NE(std::string::npos, UsageText().find("--stop-after"));
}

TEST(CommandLineTest, UnusableCommandLinesAreRefusedWithAReason)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "no command"},
        {{"scan"}, "unknown command 'scan'"},
        {{"print", "-o", "out.xps"}, "needs a job file"},
        {{"print", "job.xps"}, "needs an output file"},
        {{"print", "job.xps", "-o"}, "-o needs a value"},
        {{"print", "job.xps", "other.xps", "-o", "x"}, "one job at a time"},
        {{"print", "job.xps", "-o", "x", "--colour", "red"}, "unknown option --colour"},
        {{"print", "job.xps", "-o", "x", "--property", "NoValue"}, "NAME=VALUE"},
        {{"print", "job.xps", "-o", "x", "--property", "=5"}, "NAME=VALUE"},
    };
    for (const auto& [arguments, message] : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(arguments, &line, &error));
        EXPECT_NE(std::string::npos, error.find(message)) << error;
    }
}

} // namespace
