#include "common/core/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace qiv {

ReplacingFile::~ReplacingFile() {
    Abandon();
}

Failure ReplacingFile::Open(const std::filesystem::path& path, std::string_view tag) {
    Abandon();
    path_ = path;
    const std::string base = "." + path_.filename().string() + std::string(tag);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const auto candidate =
            path_.parent_path() / (attempt == 1 ? base : base + std::to_string(attempt));
        const Failure failure = file_.Open(candidate, BinaryFile::Mode::CreateNew);
        if (!failure) {
            temporary_ = candidate;
            return {};
        }
        std::error_code error;
        if (!std::filesystem::exists(candidate, error)) {
            return Named(failure);
        }
    }
    return Fail(FileProblem::CannotOpen, std::strerror(EEXIST));
}

Failure ReplacingFile::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    return Named(file_.WriteAt(offset, bytes));
}

Failure ReplacingFile::Commit() {
    file_.Close();
    std::error_code error;
    std::filesystem::rename(temporary_, path_, error);
    if (error) {
        return Fail(FileProblem::CannotWrite, error.message());
    }
    temporary_.clear();
    return {};
}

void ReplacingFile::Abandon() {
    file_.Close();
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        temporary_.clear();
    }
}

Failure ReplacingFile::Fail(FileProblem problem, std::string reason) const {
    return Failure::Details{problem, FileRole::Output, path_.string(), std::move(reason)};
}

Failure ReplacingFile::Named(const Failure& failure) const {
    if (!failure) {
        return {};
    }
    Failure::Details details = *failure;
    details.Path = path_.string();
    return details;
}

}  // namespace qiv
