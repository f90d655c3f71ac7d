// The folder the sample generators write into.
#pragma once

#include <filesystem>

#include "common/core/failure.h"

namespace qiv::samples {

// Creates dir and its parents when missing; a failure names dir as the output that could not
// be opened, with the system's reason.
Failure MakeFolder(const std::filesystem::path& dir);

}  // namespace qiv::samples
