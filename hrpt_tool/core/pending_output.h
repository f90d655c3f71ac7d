// A new file written under a temporary name beside its own, which it takes only when all of it is
// written: until then a file of that name, if any, stays as it was, and the temporary file goes
// again when the work fails. Failures name the file the user chose, not the temporary one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/core/binary_file.h"
#include "common/core/failure.h"

namespace qiv::swathly {

class PendingOutput {
public:
    // `tag` ends the hidden temporary name (".import", ".products"), so that a file left by a
    // crash tells which command left it.
    PendingOutput(std::filesystem::path path, std::string tag);
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    ~PendingOutput();

    Failure Open();
    Failure WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Closes the temporary file and gives it its name, replacing a file of that name.
    Failure Commit();
    // Removes the temporary file now (the destructor does it otherwise).
    void Discard();

    const std::filesystem::path& Path() const { return path_; }

private:
    Failure Named(const Failure& failure) const;

    std::filesystem::path path_;
    std::string tag_;
    std::filesystem::path temporary_;
    BinaryFile file_{FileRole::Output};
};

}  // namespace qiv::swathly
