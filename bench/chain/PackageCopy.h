#pragma once
// The floor of the chain: every part read from the package and written to a new one, with no
// filter between.
#include <cstdint>
#include <string>

// Copies input to output part by part; false with *error. *pages counts the pages copied.
bool CopyPackage(const std::string& input, const std::string& output, std::uint64_t* pages, std::string* error);
