#pragma once
// Writes ZIP files entry by entry, names taken as given (also names no sound writer would write),
// to make damaged packages in the tests rather than keep binaries of them.
#include <string>
#include <utility>
#include <vector>

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, content

// false when libzip refuses.
bool WriteZip(const std::string& path, const ZipEntries& entries);

// The parts of a small valid XPS package of one document with one page, by name.
ZipEntries MinimalXpsPackage();
// Replaces (or adds) one entry.
void SetEntry(ZipEntries* entries, const std::string& name, const std::string& content);
void RemoveEntry(ZipEntries* entries, const std::string& name);
