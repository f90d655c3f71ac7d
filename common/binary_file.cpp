#include "binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace qiv {

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::move(other.error_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::move(other.error_);
    }
    return *this;
}

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Open(const std::filesystem::path& path, Mode mode) {
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::Read:
            flags |= O_RDONLY;
            break;
        case Mode::ReadWriteCreate:
            flags |= O_RDWR | O_CREAT;
            break;
        case Mode::WriteTruncate:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
    }
    if (path.empty()) {
        error_ = std::strerror(ENOENT);
        return false;
    }
    fd_ = ::open(path.c_str(), flags, 0666);
    if (fd_ < 0) {
        SetErrorFromErrno();
        return false;
    }
    // A folder opens for reading on Linux but is no file to read pixels from.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        Close();
        error_ = std::strerror(EISDIR);
        return false;
    }
    error_.clear();
    return true;
}

void BinaryFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::int64_t BinaryFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            SetErrorFromErrno();
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool BinaryFile::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            SetErrorFromErrno();
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

std::int64_t BinaryFile::Size() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(info.st_size);
}

void BinaryFile::SetErrorFromErrno() { error_ = std::strerror(errno); }

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

}  // namespace qiv
