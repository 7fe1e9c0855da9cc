#pragma once
// A fresh directory for one test's files, removed with everything in it afterwards.
#include <set>
#include <string>

class CScratchDirectory {
public:
    CScratchDirectory();
    ~CScratchDirectory();
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // The names in the directory, hidden ones included.
    std::set<std::string> Names() const;
    void Write(const std::string& name, const std::string& content) const;

private:
    std::string path_;
};

bool FileExists(const std::string& path);
std::string ReadFileText(const std::string& path);
