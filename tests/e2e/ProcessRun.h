#pragma once
// Running the built programs as a user would, capturing what they say.
#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessResult {
    int exitCode = -1;  // -1 when a signal ended the process
    int signal = 0;     // the signal that ended it, 0 for none
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments and waits for it; standard input is empty.
ProcessResult RunProcess(const std::vector<std::string>& argv);

// A process started in the background, its standard error going to a file.
class CBackgroundProcess {
public:
    explicit CBackgroundProcess(const std::vector<std::string>& argv, const std::string& errorFile);
    ~CBackgroundProcess();
    pid_t Pid() const { return pid_; }
    void Signal(int signal) const;
    // Waits for the end; the exit code, or -1 with *signal set.
    ProcessResult Wait();

private:
    pid_t pid_ = -1;
    std::string errorFile_;
};
