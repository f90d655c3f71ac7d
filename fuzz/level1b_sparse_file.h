// A Level 1b file is tens of kilobytes of mostly zero bytes: the level1b_decode target takes it
// as a list of patches over a zero-filled file of a stated length, so that a seed of a header and
// three records is a few KB and a mutation lands on a field.
//
// Each patch: a 3-byte big-endian offset, a 2-byte big-endian span, a 1-byte pattern length n,
// then n pattern bytes; the pattern is repeated over the span from the offset (zeros when n is
// 0), and whatever falls past the file's end is dropped. A patch cut short by the end of the
// input keeps the pattern bytes it has.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qiv::fuzz {

inline std::vector<std::uint8_t> BuildSparseFile(std::span<const std::uint8_t> patches,
                                                 std::size_t length) {
    std::vector<std::uint8_t> file(length, 0);
    std::size_t at = 0;
    while (at + 6 <= patches.size()) {
        const std::size_t offset = static_cast<std::size_t>(patches[at]) << 16 |
                                   static_cast<std::size_t>(patches[at + 1]) << 8 | patches[at + 2];
        const std::size_t span = static_cast<std::size_t>(patches[at + 3]) << 8 | patches[at + 4];
        const std::size_t n = std::min<std::size_t>(patches[at + 5], patches.size() - at - 6);
        const std::uint8_t* pattern = patches.data() + at + 6;
        for (std::size_t i = 0; i < span && offset + i < length; ++i) {
            file[offset + i] = n == 0 ? 0 : pattern[i % n];
        }
        at += 6 + n;
    }
    return file;
}

// The patches of a file: its runs of non-zero bytes, runs closer than a patch's own overhead
// joined, each written out as it stands.
inline std::vector<std::uint8_t> EncodeSparseFile(std::span<const std::uint8_t> file) {
    std::vector<std::uint8_t> patches;
    std::size_t i = 0;
    while (i < file.size()) {
        if (file[i] == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        std::size_t zeros = 0;
        while (end + zeros < file.size() && zeros < 6 && end - i < 255) {
            if (file[end + zeros] != 0) {
                end += zeros + 1;
                zeros = 0;
            } else {
                ++zeros;
            }
        }
        end = std::min(end, i + 255);
        const std::size_t n = end - i;
        patches.push_back(static_cast<std::uint8_t>(i >> 16));
        patches.push_back(static_cast<std::uint8_t>(i >> 8));
        patches.push_back(static_cast<std::uint8_t>(i));
        patches.push_back(static_cast<std::uint8_t>(n >> 8));
        patches.push_back(static_cast<std::uint8_t>(n));
        patches.push_back(static_cast<std::uint8_t>(n));
        patches.insert(patches.end(), file.begin() + static_cast<std::ptrdiff_t>(i),
                       file.begin() + static_cast<std::ptrdiff_t>(end));
        i = end;
    }
    return patches;
}

}  // namespace qiv::fuzz
