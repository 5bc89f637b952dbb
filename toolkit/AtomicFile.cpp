#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now so that a failing close can be reported.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool fail(std::string* errorText, const std::string& what, int error) {
    if (errorText) *errorText = what + ": " + std::strerror(error);
    return false;
}

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

FileReadResult readFileBounded(const std::filesystem::path& path, std::size_t maxBytes) {
    FileReadResult result;
    // O_NONBLOCK so that a pipe in the file's place cannot hang the caller.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileReadResult::Status::Missing
                                        : FileReadResult::Status::Unreadable;
        return result;
    }
    FileDescriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = FileReadResult::Status::Unreadable;
        return result;
    }
    // One byte more than allowed tells whether the file goes on.
    std::string bytes(maxBytes + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.status = FileReadResult::Status::Unreadable;
            return result;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    result.truncated = got > maxBytes;
    bytes.resize(std::min(got, maxBytes));
    result.bytes = std::move(bytes);
    result.status = FileReadResult::Status::Ok;
    return result;
}

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                         std::string* errorText) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path = requested;
    if (fs::is_symlink(path, ec)) {
        fs::path target = fs::weakly_canonical(path, ec);
        if (ec) return fail(errorText, "cannot resolve " + path.string(), ec.value());
        path = target;
    }

    // Renaming would replace even a read-only file; refuse as a plain
    // write would.
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return fail(errorText, path.string() + " is not writable", errno);
    if (exists && !S_ISREG(old.st_mode))
        return fail(errorText, path.string() + " is not a regular file", EISDIR);

    fs::path folder = path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return fail(errorText, "cannot create a file beside " + path.string(), errno);
    FileDescriptor temp(fd);
    bool renamed = false;
    struct TempRemover {
        const std::string& name;
        const bool& renamed;
        ~TempRemover() { if (!renamed) ::unlink(name.c_str()); }
    } remover{pattern, renamed};

    mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd, mode) != 0) return fail(errorText, "cannot set permissions", errno);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errorText, "cannot write " + pattern, errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errorText, "cannot flush " + pattern, errno);
    if (!temp.close()) return fail(errorText, "cannot close " + pattern, errno);
    if (::rename(pattern.c_str(), path.c_str()) != 0)
        return fail(errorText, "cannot replace " + path.string(), errno);
    renamed = true;

    // Make the rename itself durable; the new file is in place either way.
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
