#include "avhrr/pending_output.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "common/core/binary_file.h"

namespace qiv::avhrr {
namespace {

Failure OutputFailure(FileProblem problem, const std::filesystem::path& path, std::string reason) {
    return Failure::Details{problem, FileRole::Output, path.string(), std::move(reason)};
}

}  // namespace

PendingOutput::~PendingOutput() {
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

Failure PendingOutput::Reserve() {
    const std::string base = "." + path_.filename().string() + ".part";
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const auto candidate =
            path_.parent_path() / (attempt == 1 ? base : base + std::to_string(attempt));
        BinaryFile file(FileRole::Output);
        Failure failure = file.Open(candidate, BinaryFile::Mode::CreateNew);
        if (!failure) {
            temporary_ = candidate;
            return {};
        }
        std::error_code error;
        if (!std::filesystem::exists(candidate, error)) {
            return Named(failure);
        }
    }
    return OutputFailure(FileProblem::CannotOpen, path_, std::strerror(EEXIST));
}

Failure PendingOutput::Commit() {
    std::error_code error;
    std::filesystem::rename(temporary_, path_, error);
    if (error) {
        return OutputFailure(FileProblem::CannotWrite, path_, error.message());
    }
    temporary_.clear();
    return {};
}

Failure PendingOutput::Named(const Failure& failure) const {
    if (!failure) {
        return {};
    }
    Failure::Details details = *failure;
    details.Role = FileRole::Output;
    details.Path = path_.string();
    return details;
}

}  // namespace qiv::avhrr
