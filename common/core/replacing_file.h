// A file written whole or not at all. Its bytes go into a new file under a hidden temporary name
// beside it, in the same folder so that the rename stays within one file system; the file takes
// its name only at Commit. Until then a file of that name, if any, stays as it was, and a
// ReplacingFile that goes without Commit removes its temporary file again, so that a write that
// fails half-way (a full disk) leaves neither half a file nor a lost old one. Failures name the
// file, in the Output role, never the temporary one.
//
//     ReplacingFile output;
//     if (Failure failure = output.Open(path, ".import")) { ... }
//     if (Failure failure = output.WriteAt(0, bytes)) { ... }
//     if (Failure failure = output.Commit()) { ... }
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/core/binary_file.h"
#include "common/core/failure.h"

namespace qiv {

class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the temporary file ".NAME" + tag beside path (".NAME" + tag + "2" and so on when
    // an older one, left by a crash, holds that name: none is ever written over).
    Failure Open(const std::filesystem::path& path, std::string_view tag);
    Failure WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Renames the temporary file over the file.
    Failure Commit();
    // Removes the temporary file now; the file stays as it was.
    void Abandon();

    // For a writer that opens the file by its path itself (GDAL): the temporary file, reserved
    // and empty, that it writes into before Commit. Call CloseTemporary first, so that no
    // second handle of ours stays open on it.
    const std::filesystem::path& Temporary() const { return temporary_; }
    void CloseTemporary() { file_.Close(); }

    // A failure of the file: its path, the Output role and the problem.
    Failure Fail(FileProblem problem, std::string reason = {}) const;

private:
    Failure Named(const Failure& failure) const;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    BinaryFile file_{FileRole::Output};
};

}  // namespace qiv
