#include "tests/e2e/ScratchDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

CScratchDirectory::CScratchDirectory()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/xpschain-e2e-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch directory");
    path_ = pattern;
}

CScratchDirectory::~CScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::set<std::string> CScratchDirectory::Names() const
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.insert(entry.path().filename().string());
    return names;
}

void CScratchDirectory::Write(const std::string& name, const std::string& content) const
{
    std::ofstream(File(name), std::ios::binary) << content;
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string ReadFileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
