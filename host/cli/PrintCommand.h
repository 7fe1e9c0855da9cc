#pragma once
// xpschain print: one job through the chain, with its exit status.
#include "host/cli/CommandLine.h"

// Exit status: 0 the job went through, 1 it failed, 2 the options are unusable, 128+N it was
// interrupted by signal N. Messages and progress go to standard error.
int RunPrintCommand(const PrintOptions& options);

// The directory of the running program, without the trailing slash.
std::string ProgramDirectory();
