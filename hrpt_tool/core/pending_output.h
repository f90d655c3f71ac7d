// A new file written under a temporary name beside its own and given that name only when all of
// it is written, as both imports write their HRP files: a failed import leaves no half-written
// file behind, and a file of that name stays as it was until the new one is whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/core/binary_file.h"
#include "common/core/failure.h"

namespace qiv::swathly {

// A failure of the output file `path`, in the system's words.
Failure OutputFailure(FileProblem problem, const std::string& path, std::string reason);

// The file takes its name only at Commit; when the object goes before that, the temporary file
// goes with it. Failures name the file the user chose, not the temporary one.
class PendingOutput {
public:
    explicit PendingOutput(std::filesystem::path path) : path_(std::move(path)) {}
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    ~PendingOutput();

    Failure Open();
    Failure WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    Failure Commit();

private:
    Failure Named(const Failure& failure) const;

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    BinaryFile file_{FileRole::Output};
};

}  // namespace qiv::swathly
