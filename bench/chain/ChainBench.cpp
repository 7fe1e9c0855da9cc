// chainbench: makes a 200-page and a 2000-page job with xpsgen and measures, for each, xpschain
// print --stop-after finishfilter against the floor (the same package read and written with no
// filter). Every run is a child process, so that its peak memory is its own. Prints pages per
// second and peak memory, and whether the targets hold:
//   - the 2000-page job's peak memory is at most 1.5 times the 200-page job's;
//   - the chain takes at most twice the floor's time.
// Exit status 0 when both hold.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/chain/PackageCopy.h"
#include "platform/module/Module.h"

extern char** environ;

namespace {

constexpr int kRepeats = 3;

struct Measure {
    double seconds = 0;
    long peakKiB = 0;
};

// Runs argv as a child; its wall time and peak resident memory, or false when it failed.
bool RunMeasured(const std::vector<std::string>& argv, Measure* measure)
{
    std::vector<char*> arguments;
    for (const std::string& a : argv)
        arguments.push_back(const_cast<char*>(a.c_str()));
    arguments.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, arguments[0], nullptr, nullptr, arguments.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    measure->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure->peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The best of a few runs: the least time and the least peak, which is what the machine can do.
bool Best(const std::vector<std::string>& argv, Measure* best)
{
    for (int i = 0; i < kRepeats; ++i) {
        Measure m;
        if (!RunMeasured(argv, &m)) {
            std::fprintf(stderr, "chainbench: %s failed\n", argv[0].c_str());
            return false;
        }
        if (i == 0 || m.seconds < best->seconds)
            best->seconds = m.seconds;
        if (i == 0 || m.peakKiB < best->peakKiB)
            best->peakKiB = m.peakKiB;
    }
    return true;
}

struct JobFigures {
    int pages = 0;
    Measure chain;
    Measure floor;
};

} // namespace

int main(int argc, char** argv)
{
    // chainbench --floor IN OUT: the floor itself, run as a child of the benchmark.
    if (argc == 4 && std::string(argv[1]) == "--floor") {
        std::uint64_t pages = 0;
        std::string error;
        if (!CopyPackage(argv[2], argv[3], &pages, &error)) {
            std::fprintf(stderr, "chainbench: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }

    const std::string self = GetModuleFileNameW(nullptr);
    const std::string bin = self.substr(0, self.rfind('/'));
    char pattern[] = "/tmp/xpschain-bench-XXXXXX";
    const std::string work = argc > 1 ? argv[1] : (mkdtemp(pattern) ? pattern : "/tmp");

    std::vector<JobFigures> jobs = {{200, {}, {}}, {2000, {}, {}}};
    for (JobFigures& job : jobs) {
        const std::string input = work + "/job-" + std::to_string(job.pages) + ".xps";
        Measure made;
        if (!RunMeasured({bin + "/xpsgen", "-o", input, "--pages", std::to_string(job.pages)}, &made))
            return 2;
        const std::string output = work + "/out-" + std::to_string(job.pages) + ".xps";
        if (!Best({bin + "/xpschain", "print", input, "-o", output, "--stop-after", "finishfilter", "--quiet"}, &job.chain) ||
            !Best({self, "--floor", input, work + "/floor-" + std::to_string(job.pages) + ".xps"}, &job.floor))
            return 2;
    }

    std::printf("%-10s %12s %12s %12s %12s %8s\n", "job", "chain p/s", "chain MiB", "floor p/s", "floor MiB", "ratio");
    bool timeHolds = true;
    for (const JobFigures& job : jobs) {
        const double ratio = job.chain.seconds / job.floor.seconds;
        timeHolds = timeHolds && ratio <= 2.0;
        std::printf("%-10s %12.0f %12.1f %12.0f %12.1f %8.2f\n", (std::to_string(job.pages) + " pages").c_str(),
                    job.pages / job.chain.seconds, job.chain.peakKiB / 1024.0, job.pages / job.floor.seconds,
                    job.floor.peakKiB / 1024.0, ratio);
    }
    const double growth = static_cast<double>(jobs[1].chain.peakKiB) / static_cast<double>(jobs[0].chain.peakKiB);
    const bool memoryHolds = growth <= 1.5;
    std::printf("peak memory, 2000 pages / 200 pages: %.2f (target at most 1.50): %s\n", growth, memoryHolds ? "holds" : "MISSED");
    std::printf("chain time / floor time: at most 2.00 on every job: %s\n", timeHolds ? "holds" : "MISSED");
    std::printf("(best of %d runs each; files in %s)\n", kRepeats, work.c_str());
    return memoryHolds && timeHolds ? 0 : 1;
}
