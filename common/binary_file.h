// Binary file access by absolute byte position, as both programs use it. Positions here are
// 0-based offsets (the 1-based positions of the file formats minus one) and 64-bit, so any
// place of any file can be reached. Failures are returned as data: the window turns them into
// the program's own message.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace qiv {

class BinaryFile {
public:
    enum class Mode {
        Read,             // existing file, read only
        ReadWriteCreate,  // read and write; created when missing, never truncated
        WriteTruncate,    // write only; created when missing, emptied when present
    };

    BinaryFile() = default;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    ~BinaryFile();

    // Opens the file; on failure returns false and Error() tells why.
    bool Open(const std::filesystem::path& path, Mode mode);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Reads up to bytes.size() bytes at offset; returns how many were read (fewer at the end of
    // the file), or -1 on a read error.
    std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes);
    // Writes all of bytes at offset; false on failure.
    bool WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Size of the open file in bytes, or -1.
    std::int64_t Size() const;

    // The system's reason for the last failure, e.g. "No such file or directory".
    const std::string& Error() const { return error_; }

private:
    void SetErrorFromErrno();

    int fd_ = -1;
    std::string error_;
};

// True when both paths name the same existing file, also through links or other spellings.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace qiv
