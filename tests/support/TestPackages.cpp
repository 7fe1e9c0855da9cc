#include "tests/support/TestPackages.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

struct Piece {
    std::string part;
    int index;
};

// "/Pages/1.fpage/[3].piece" or "/Pages/1.fpage/[4].last.piece": the part and the piece's index.
std::optional<Piece> PieceOf(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t close = name.find(']', slash);
    if (slash == std::string::npos || close == std::string::npos || name.compare(slash + 1, 1, "[") != 0 ||
        close == slash + 2)
        return std::nullopt;
    const std::string digits = name.substr(slash + 2, close - slash - 2);
    std::string rest = name.substr(close + 1);
    std::transform(rest.begin(), rest.end(), rest.begin(), Lower);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }) ||
        (rest != ".piece" && rest != ".last.piece"))
        return std::nullopt;
    return Piece{name.substr(0, slash), std::stoi(digits)};
}

} // namespace

std::string PercentDecode(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string CorpusDir() { return XPSCHAIN_CORPUS_DIR; }

std::vector<std::filesystem::path> CorpusPackages()
{
    std::vector<std::filesystem::path> packages;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(CorpusDir()) / "xps")) {
        if (entry.path().extension() == ".xps" || entry.path().extension() == ".oxps")
            packages.push_back(entry.path());
    }
    std::sort(packages.begin(), packages.end());
    return packages;
}

std::string CorpusTestName(const testing::TestParamInfo<std::filesystem::path>& package)
{
    std::string name = package.param.filename().string();
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

bool PartNameLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

PackageParts ReadPackageParts(const std::filesystem::path& path, ZipCheck check)
{
    PackageParts parts;
    int code = 0;
    const int flags = ZIP_RDONLY | (check == ZipCheck::kConsistent ? ZIP_CHECKCONS : 0);
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(path.c_str(), flags, &code), zip_discard);
    if (!archive) {
        ADD_FAILURE() << "libzip cannot open " << path << " (error " << code << ")";
        return parts;
    }
    std::map<std::string, std::map<int, std::string>, PartNameLess> pieces;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const std::string name = "/" + PercentDecode(zip_get_name(archive.get(), index, 0));
        zip_stat_t stat;
        zip_stat_index(archive.get(), index, 0, &stat);
        std::string bytes(stat.size, '\0');
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(archive.get(), index, 0), zip_fclose);
        if (!file || zip_fread(file.get(), bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size())) {
            ADD_FAILURE() << "libzip cannot read " << name << " of " << path;
            continue;
        }
        if (const std::optional<Piece> piece = PieceOf(name))
            pieces[piece->part][piece->index] = std::move(bytes);
        else
            parts[name] = std::move(bytes);
    }
    for (auto& [name, list] : pieces) {
        std::string& joined = parts[name];
        for (auto& [index, bytes] : list)
            joined += bytes;
    }
    return parts;
}
