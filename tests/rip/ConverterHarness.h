#pragma once
// The reference converter opened for one job inside a test, its output reassembled into the call
// log. The driver directory is the build's (build/lib/driver).
#include <string>
#include <vector>

#include "rip/ConverterRecordReader.h"
#include "rip/PrnCoreLibrary.h"
#include "tests/rip/CallLog.h"

// Points the spooler view at another driver directory for the life of the object, then back at the
// build's (build/lib/driver), which every test uses by default.
class ScopedDriverDirectory {
public:
    explicit ScopedDriverDirectory(const std::string& directory);
    ~ScopedDriverDirectory();
};

class ConverterHarness {
public:
    ConverterHarness();
    ~ConverterHarness();

    std::vector<LoggedCall> Calls() const { return ParseCallLog(log); }

    PrnCoreLibrary prnCore;
    void* control = nullptr;
    void* conversion = nullptr;
    void* feed = nullptr;
    std::string log;
    ConverterRecordReader reader;
};
