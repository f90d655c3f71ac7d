// A new file written under a temporary name beside the file it becomes, and given that name
// only when whole: until then an older file of that name stays as it was, and a failure (or
// the object going early) removes the temporary file again. The temporary name is hidden
// (".NAME.part", ".NAME.part2", ...) and in the same folder, so that the rename stays within
// one file system; an existing file of such a name, left by a crash, is never written over.
// The same as the HRP import does for its file, for writers that open the file by path
// themselves (libpng through BinaryFile, GDAL).
#pragma once

#include <filesystem>

#include "common/core/failure.h"

namespace qiv::avhrr {

class PendingOutput {
public:
    explicit PendingOutput(std::filesystem::path path) : path_(std::move(path)) {}
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    ~PendingOutput();

    // Creates the temporary file, empty.
    Failure Reserve();
    const std::filesystem::path& Temporary() const { return temporary_; }
    // Renames the temporary file to the path.
    Failure Commit();
    // The failure, naming the path rather than the temporary file.
    Failure Named(const Failure& failure) const;

private:
    std::filesystem::path path_;
    std::filesystem::path temporary_;
};

}  // namespace qiv::avhrr
