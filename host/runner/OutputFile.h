#pragma once
// The job's output file: written under a temporary name beside its final path and renamed there
// only when the job has gone through, so that a failed or interrupted job never leaves a file
// that looks complete. Without Commit the temporary file is removed.
#include <string>

class COutputFile {
public:
    COutputFile() = default;
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Makes the temporary file in the directory of finalPath; false with *error on failure.
    bool Create(const std::string& finalPath, std::string* error);
    // The open temporary file, -1 before Create and after Commit or Discard. A writer may also
    // replace the file at TemporaryPath(); Commit takes whatever is there.
    int Descriptor() const { return fd_; }
    const std::string& TemporaryPath() const { return temporaryPath_; }
    const std::string& FinalPath() const { return finalPath_; }

    // Flushes the file to disk and renames it to its final path; false with *error on failure
    // (the temporary file is then removed).
    bool Commit(std::string* error);
    // Closes and removes the temporary file.
    void Discard();

private:
    std::string finalPath_;
    std::string temporaryPath_;
    int fd_ = -1;
};
