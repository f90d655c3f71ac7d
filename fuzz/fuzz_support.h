// What the fuzz targets over the routines of both programs share: the one way their input is
// split into choices, replies and file bytes, the run folder they write in, the ways a file
// dialog can name a file, and how a target reports a rule that does not hold.
//
// Every such target reads its input the same way:
//
//     bytes 0 .. C-1   choices: what the target does with the file (modes, flags, path kinds);
//                      C is the target's own, and bytes beyond the end of the input read as 0
//     byte C           k, the number of replies that follow
//     k replies        each ended by '\n' (the last one may end with the input instead): the texts
//                      of the boxes the commands read, then the answers to their prompts, in the
//                      order the target uses them; a prompt with no reply left is cancelled
//     the rest         the bytes of the file the commands work on
//
// so that a seed is readable in a hex dump and a mutation of the file bytes never shifts the
// replies. Encode writes an input in this form (the seed maker uses it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qiv::fuzz {

using Bytes = std::vector<std::uint8_t>;

class FuzzInput {
public:
    // Splits data; from now until the object goes, Broken prints this input with its report.
    FuzzInput(std::span<const std::uint8_t> data, std::size_t choiceBytes);
    ~FuzzInput();
    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;

    std::uint8_t Choice(std::size_t index) const;
    const std::vector<std::string>& Replies() const { return replies_; }
    std::span<const std::uint8_t> File() const { return file_; }

    // The input's choices, replies and file size, as Broken prints them.
    std::string Describe() const;

    static Bytes Encode(std::span<const std::uint8_t> choices,
                        const std::vector<std::string>& replies,
                        std::span<const std::uint8_t> file);

private:
    Bytes choices_;
    std::vector<std::string> replies_;
    std::span<const std::uint8_t> file_;
};

// Ends the run when a rule that must always hold does not: prints what went wrong and the input,
// then aborts, so that libFuzzer keeps the input as a finding and a replay fails.
[[noreturn]] void Broken(std::string_view what);
inline void Require(bool holds, std::string_view what) {
    if (!holds) {
        Broken(what);
    }
}

// A whole number as the messages of Broken print it.
inline std::string Text(std::int64_t value) {
    return std::to_string(value);
}

// The byte at `at`, or 0 beyond either end: a rule may look past the end of a short file.
inline std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::int64_t at) {
    return at >= 0 && at < static_cast<std::int64_t>(bytes.size())
               ? bytes[static_cast<std::size_t>(at)]
               : 0;
}

// The signed little-endian 16-bit word at `at`, its bytes beyond the end read as 0.
inline std::int16_t WordAt(std::span<const std::uint8_t> bytes, std::int64_t at) {
    return static_cast<std::int16_t>(ByteAt(bytes, at) | (ByteAt(bytes, at + 1) << 8));
}

// The folder a target writes its files in: made once per process in the system's temporary
// folder, emptied at every call, removed when the process ends. Nothing is written elsewhere.
const std::filesystem::path& FreshRunFolder();

// The bytes the process has read so far, from /proc/self/io; no value where it cannot be read.
std::optional<std::int64_t> BytesRead();

// The bytes of a file, or no value when there is no file of that name (or it is a folder).
std::optional<Bytes> FileBytes(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// `length` bytes made of `pattern` over and over (zeros when the pattern is empty): a file of
// many lines from an input of a few hundred bytes.
Bytes Repeated(std::span<const std::uint8_t> pattern, std::size_t length);

// The names a file dialog (or a chosen output) can give, the dangerous ones included.
enum class PathKind {
    NewFile,             // a name in the run folder that does not exist yet
    LongerFile,          // an existing file longer than the output: its tail must stay
    TheInput,            // the input file as it was chosen
    InputOtherSpelling,  // the input through "." and ".." components
    InputHardLink,       // a second name of the input file
    InputSymlink,        // a symbolic link to the input file
    MissingFolder,       // a name in a folder that does not exist: cannot be opened
    Folder,              // the run folder itself: cannot be opened as a file
};
inline constexpr int kPathKinds = 8;
PathKind PathKindOf(std::uint8_t choice);

// A name made for a command, and what its file held before the command ran.
struct NamedFile {
    std::filesystem::path Path;
    bool IsInput = false;         // names the input file, under any spelling
    bool CanBeWritten = false;    // a command that writes it can open it (not the input)
    std::optional<Bytes> Before;  // no value: there was no such file
};

// Makes the name of kind `kind` in `folder` (creating the longer file of `longerBytes` bytes or
// the links it needs); `name` is the new file's name, `input` the input file's path.
NamedFile NameFile(PathKind kind, const std::filesystem::path& folder,
                   const std::filesystem::path& input, const std::string& name,
                   std::size_t longerBytes);

// The file holds what it held before (or still does not exist).
void RequireUnchanged(const NamedFile& file, std::string_view what);

// What `before` becomes when `written` is written over it from offset 0 in place: the file
// is never shortened, so the tail of a longer old file stays.
Bytes WrittenInPlace(const std::optional<Bytes>& before, const Bytes& written);

}  // namespace qiv::fuzz
