// A disk that fills up half-way through a write, for the tests of what a failed save leaves.
//
// No small file system can be mounted in a test, and /dev/full fails the very first write where
// a file is made beside its target. The file size limit of the process (RLIMIT_FSIZE) stops
// every write into a regular file at the given size instead: the write that reaches it is cut
// short and the next one fails with EFBIG, the same failed pwrite that ENOSPC is to the code
// under test. SIGXFSZ, which the kernel sends with EFBIG, is ignored meanwhile, so that the
// process lives on. The limit holds for the whole process, pipes and terminals excepted, so it
// lasts only as long as the object, around the one save.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace qiv::testing {

class FullDisk {
public:
    // No file grows beyond `bytes` bytes while the object lives.
    explicit FullDisk(std::int64_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &before_) != 0) {
            throw std::runtime_error("cannot read the file size limit");
        }
        rlimit limit = before_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            std::signal(SIGXFSZ, signal_);
            throw std::runtime_error("cannot set the file size limit");
        }
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signal_);
    }

private:
    rlimit before_{};
    void (*signal_)(int) = SIG_DFL;
};

// The names in a folder, sorted: what a failed save must have left there.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace qiv::testing
