#include "tools/samples/sample_folder.h"

#include <system_error>

namespace qiv::samples {

Failure MakeFolder(const std::filesystem::path& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        return Failure::Details{FileProblem::CannotOpen, FileRole::Output, dir.string(),
                                error.message()};
    }
    return {};
}

}  // namespace qiv::samples
