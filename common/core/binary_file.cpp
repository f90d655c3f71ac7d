#include "common/core/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace qiv {

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : role_(other.role_), fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        Close();
        role_ = other.role_;
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

BinaryFile::~BinaryFile() {
    Close();
}

Failure BinaryFile::Open(const std::filesystem::path& path, Mode mode) {
    Close();
    path_ = path.string();
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
        case Mode::CreateNew:
            flags |= O_RDWR | O_CREAT | O_EXCL;
            break;
    }
    if (path.empty()) {
        return Fail(FileProblem::CannotOpen, std::strerror(ENOENT));
    }
    fd_ = ::open(path.c_str(), flags, 0666);
    if (fd_ < 0) {
        return FailFromErrno(FileProblem::CannotOpen);
    }
    // A folder opens for reading on Linux but is no file to read pixels from.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        Close();
        return Fail(FileProblem::CannotOpen, std::strerror(EISDIR));
    }
    return {};
}

void BinaryFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::int64_t BinaryFile::ReadUpTo(std::int64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

Failure BinaryFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) {
    const std::int64_t got = ReadUpTo(offset, bytes);
    if (got < 0) {
        return FailFromErrno(FileProblem::CannotRead);
    }
    if (static_cast<std::size_t>(got) < bytes.size()) {
        Failure::Details details = *Fail(FileProblem::TooShort);
        details.Needed = offset + static_cast<std::int64_t>(bytes.size());
        details.Size = offset + got;
        return details;
    }
    return {};
}

Failure BinaryFile::ReadFilled(std::int64_t offset, std::span<std::uint8_t> bytes) {
    const std::int64_t got = ReadUpTo(offset, bytes);
    if (got < 0) {
        return FailFromErrno(FileProblem::CannotRead);
    }
    std::fill(bytes.begin() + got, bytes.end(), std::uint8_t{0});
    return {};
}

Failure BinaryFile::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailFromErrno(FileProblem::CannotWrite);
        }
        done += static_cast<std::size_t>(put);
    }
    return {};
}

Failure BinaryFile::Size(std::int64_t& bytes) const {
    struct stat info {};
    if (fd_ < 0) {
        return Fail(FileProblem::CannotRead, std::strerror(EBADF));
    }
    if (::fstat(fd_, &info) != 0) {
        return FailFromErrno(FileProblem::CannotRead);
    }
    bytes = static_cast<std::int64_t>(info.st_size);
    return {};
}

Failure BinaryFile::Fail(FileProblem problem, std::string reason) const {
    return Failure::Details{problem, role_, path_, std::move(reason)};
}

Failure BinaryFile::FailFromErrno(FileProblem problem) const {
    return Fail(problem, std::strerror(errno));
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

}  // namespace qiv
