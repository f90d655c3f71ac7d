// Binary file access by absolute byte position, as both programs use it. Positions here are
// 0-based offsets (the 1-based positions of the file formats minus one) and 64-bit, so any
// place of any file can be reached. Every failure comes back as a Failure that names the file's
// role in the command, its path and the system's reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/core/failure.h"

namespace qiv {

class BinaryFile {
public:
    enum class Mode {
        Read,             // existing file, read only
        ReadWriteCreate,  // read and write; created when missing, never truncated
        WriteTruncate,    // write only; created when missing, emptied when present
        CreateNew,        // read and write; a new file, refused (CannotOpen) when one exists
    };

    explicit BinaryFile(FileRole role = FileRole::Input) : role_(role) {}
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    ~BinaryFile();

    Failure Open(const std::filesystem::path& path, Mode mode);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Reads exactly bytes.size() bytes at offset; a file that ends first is TooShort, with
    // Needed = offset + bytes.size() and Size = where the file ended.
    Failure ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes);
    // Reads bytes.size() bytes at offset; whatever lies beyond the end of the file reads as 0.
    Failure ReadFilled(std::int64_t offset, std::span<std::uint8_t> bytes);
    // Writes all of bytes at offset.
    Failure WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // The size of the open file in bytes.
    Failure Size(std::int64_t& bytes) const;

    // A failure of this file: its role, its path and the problem.
    Failure Fail(FileProblem problem, std::string reason = {}) const;

private:
    // Reads as much of bytes as the file holds; -1 on a read error (errno tells why).
    std::int64_t ReadUpTo(std::int64_t offset, std::span<std::uint8_t> bytes);
    Failure FailFromErrno(FileProblem problem) const;

    FileRole role_;
    int fd_ = -1;
    std::string path_;
};

// True when both paths name the same existing file, also through links or other spellings.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace qiv
