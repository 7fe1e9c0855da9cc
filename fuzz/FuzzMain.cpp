// Runs a fuzz target without the fuzzing engine, over the files named on the command line
// (folders are walked, their files taken in name order): the seeds and the corpus replayed as a
// regression test, under any compiler. Each input's name is printed before it runs, so that a
// crash names its input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

// The files of path, sorted; false when path is neither a file nor a folder.
bool CollectInputs(const fs::path& path, std::vector<fs::path>* inputs)
{
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        inputs->push_back(path);
        return true;
    }
    if (!fs::is_directory(path, error))
        return false;
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(path, error))
        if (entry.is_regular_file())
            found.push_back(entry.path());
    if (error)
        return false;
    std::sort(found.begin(), found.end());
    inputs->insert(inputs->end(), found.begin(), found.end());
    return true;
}

bool ReadFile(const fs::path& path, std::string* bytes)
{
    std::ifstream file(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], &inputs)) {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: no inputs in the given folders\n", argv[0]);
        return 2;
    }
    std::string bytes;
    for (const fs::path& input : inputs) {
        std::printf("%s\n", input.c_str());
        std::fflush(stdout);
        if (!ReadFile(input, &bytes)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.c_str());
            return 2;
        }
        // A buffer of exactly the input's size, so that the address sanitizer sees a read past its end.
        const auto data = std::make_unique<std::uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::printf("%zu inputs run\n", inputs.size());
    return 0;
}
