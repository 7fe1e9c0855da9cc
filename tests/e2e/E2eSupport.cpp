#include "tests/e2e/E2eSupport.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

// The files named <prefix>-<n>.<extension> in directory, by n.
std::vector<std::string> PageImages(const std::string& directory, const std::string& prefix)
{
    std::map<int, std::string> byNumber;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix + "-", 0) != 0)
            continue;
        const std::string rest = name.substr(prefix.size() + 1);
        const std::size_t dot = rest.find('.');
        if (dot == std::string::npos || rest.find_first_not_of("0123456789") != dot)
            continue;
        byNumber[std::stoi(rest.substr(0, dot))] = entry.path().string();
    }
    std::vector<std::string> pages;
    for (const auto& [number, path] : byNumber)
        pages.push_back(path);
    return pages;
}

} // namespace

ProcessResult RunPrint(const std::string& job, const std::string& output, const std::vector<std::string>& more)
{
    std::vector<std::string> argv = {kXpsChain, "print", job, "-o", output};
    argv.insert(argv.end(), more.begin(), more.end());
    return RunProcess(argv);
}

std::vector<std::filesystem::path> CorpusFiles(const std::string& folder)
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path directory = std::filesystem::path(CorpusDir()) / folder;
    if (!std::filesystem::is_directory(directory))
        return files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool RenderWithMutool(const std::string& package, const std::string& directory, const std::string& prefix,
                      std::vector<std::string>* pages)
{
    const ProcessResult result =
        RunProcess({"/usr/bin/mutool", "draw", "-q", "-r", "36", "-o", directory + "/" + prefix + "-%d.pnm", package});
    *pages = PageImages(directory, prefix);
    return result.exitCode == 0 && !pages->empty();
}

bool RenderWithXpsToPng(const std::string& package, const std::string& directory, const std::string& prefix,
                        std::vector<std::string>* pages)
{
    const ProcessResult result = RunProcess({"/usr/bin/xpstopng", "-r", "36", package, directory + "/" + prefix});
    *pages = PageImages(directory, prefix);
    return result.exitCode == 0 && !pages->empty();
}

std::string FailureReason(const ProcessResult& result, const std::string& job)
{
    const std::string lead = "xpschain: " + job + ": ";
    std::string text = result.err;
    if (text.rfind(lead, 0) == 0)
        text = text.substr(lead.size());
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}
