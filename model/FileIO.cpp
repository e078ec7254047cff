#include "model/FileIO.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

Result SystemError(const std::string& what) {
    return Result::Fail(what + ": " + std::strerror(errno));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd; }
    int Release() { return std::exchange(fd, -1); }

private:
    int fd;
};

Result ReadUpTo(int fd, std::vector<uint8_t>& bytes, size_t count) {
    bytes.resize(count);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd, bytes.data() + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return SystemError("cannot read");
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return Result::Ok();
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes land next to the real file even when the path is a symbolic link.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

} // namespace

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return SystemError("cannot open");
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return SystemError("cannot read");
    if (!S_ISREG(info.st_mode))
        return Result::Fail("not a regular file");
    if (static_cast<uint64_t>(info.st_size) > limit)
        return Result::Fail("file is too large");
    return ReadUpTo(fd.Get(), bytes, static_cast<size_t>(info.st_size));
}

Result ReadFileHead(const std::string& path, std::vector<uint8_t>& bytes, size_t count) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return SystemError("cannot open");
    return ReadUpTo(fd.Get(), bytes, count);
}

Result WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string target = ResolveTarget(path);
    std::random_device random;
    std::string temporary;
    int raw = -1;
    for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
        temporary = target + ".~" + std::to_string(random() % 1000000) + ".tmp";
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST)
            return SystemError("cannot create");
    }
    if (raw < 0)
        return SystemError("cannot create");
    FileDescriptor fd(raw);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd.Get(), old.st_mode & 07777);
    bool written = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    int savedErrno = errno;
    bool closed = ::close(fd.Release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        if (written && closed)
            savedErrno = errno;
        ::unlink(temporary.c_str());
        errno = savedErrno;
        return SystemError("cannot write");
    }
    return Result::Ok();
}
