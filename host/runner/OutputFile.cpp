#include "host/runner/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

COutputFile::~COutputFile() { Discard(); }

bool COutputFile::Create(const std::string& finalPath, std::string* error)
{
    Discard();
    const std::size_t slash = finalPath.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : finalPath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
    if (name.empty()) {
        *error = "the output path '" + finalPath + "' names no file";
        return false;
    }
    // A hidden name, so that nothing that lists the directory mistakes it for a finished output.
    std::string pattern = directory + "." + name + ".partial-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) {
        *error = "cannot create a file beside '" + finalPath + "': " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; the output gets the usual permissions of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    finalPath_ = finalPath;
    temporaryPath_ = buffer.data();
    fd_ = fd;
    return true;
}

bool COutputFile::Commit(std::string* error)
{
    if (temporaryPath_.empty()) {
        *error = "the output file is not open";
        return false;
    }
    // A failed close can be the first report of a failed write.
    const int written = fd_;
    fd_ = -1;
    if (written >= 0 && close(written) != 0) {
        *error = "cannot write '" + finalPath_ + "': " + std::strerror(errno);
        Discard();
        return false;
    }
    // Reopened by name: a writer may have replaced the file that mkstemp made.
    const int fd = open(temporaryPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || fsync(fd) != 0) {
        *error = "cannot write '" + finalPath_ + "': " + std::strerror(errno);
        if (fd >= 0)
            close(fd);
        Discard();
        return false;
    }
    close(fd);
    if (rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        *error = "cannot rename the output to '" + finalPath_ + "': " + std::strerror(errno);
        Discard();
        return false;
    }
    temporaryPath_.clear();
    return true;
}

void COutputFile::Discard()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    if (!temporaryPath_.empty())
        unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}
