#include "hrpt_tool/core/pending_output.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace qiv::swathly {

Failure OutputFailure(FileProblem problem, const std::string& path, std::string reason) {
    Failure::Details details;
    details.Problem = problem;
    details.Role = FileRole::Output;
    details.Path = path;
    details.Reason = std::move(reason);
    return details;
}

PendingOutput::~PendingOutput() {
    if (!temporary_.empty()) {
        file_.Close();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

Failure PendingOutput::Open() {
    // A hidden name in the same folder, so that the rename stays within one file system; an
    // older file of that name, left by a crash, is never written over.
    const std::string base = "." + path_.filename().string() + ".import";
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const auto candidate =
            path_.parent_path() / (attempt == 1 ? base : base + std::to_string(attempt));
        Failure failure = file_.Open(candidate, BinaryFile::Mode::CreateNew);
        if (!failure) {
            temporary_ = candidate;
            return {};
        }
        std::error_code error;
        if (!std::filesystem::exists(candidate, error)) {
            return Named(failure);
        }
    }
    return OutputFailure(FileProblem::CannotOpen, path_.string(), std::strerror(EEXIST));
}

Failure PendingOutput::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    return Named(file_.WriteAt(offset, bytes));
}

Failure PendingOutput::Commit() {
    file_.Close();
    std::error_code error;
    std::filesystem::rename(temporary_, path_, error);
    if (error) {
        return OutputFailure(FileProblem::CannotWrite, path_.string(), error.message());
    }
    temporary_.clear();
    return {};
}

Failure PendingOutput::Named(const Failure& failure) const {
    if (!failure) {
        return {};
    }
    Failure::Details details = *failure;
    details.Path = path_.string();
    return details;
}

}  // namespace qiv::swathly
