#pragma once
// The packages of the shared corpus and an independent reading of a package's parts (libzip, no
// code of the package reader), for tests that check what the chain made of a package.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

// The shared corpus folder (xps/, tickets/, broken/).
std::string CorpusDir();
// The .xps and .oxps files of the corpus's xps/ folder, in name order.
std::vector<std::filesystem::path> CorpusPackages();
// A test name for a corpus package: its file name with every character but letters and digits
// made '_' ("pdfsharp_xps_Basic_xps").
std::string CorpusTestName(const testing::TestParamInfo<std::filesystem::path>& package);

// text with its percent-escapes ("%20") decoded; a '%' not followed by two hex digits stays.
std::string PercentDecode(std::string_view text);

// Part names compare as OPC compares them: ASCII letters without regard to case.
struct PartNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
// Part name ("/Documents/1/Pages/1.fpage") -> content.
using PackageParts = std::map<std::string, std::string, PartNameLess>;

// How closely the archive is checked: packages from other producers may carry inconsistencies
// that readers tolerate (a local header that differs from the central directory); a package this
// system wrote must have none.
enum class ZipCheck { kTolerant, kConsistent };

// Every part of the ZIP package at path, named by its ZIP item name with a leading "/" and
// percent-escapes decoded; interleaved pieces ("[0].piece" .. "[n].last.piece") are joined in
// order under the name of their part. A package libzip cannot open (or, kConsistent, finds
// inconsistent) or cannot read fails the current test and gives what could be read.
PackageParts ReadPackageParts(const std::filesystem::path& path, ZipCheck check = ZipCheck::kTolerant);
