#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "common/testing/temp_dir.h"

namespace qiv::fuzz {
namespace {

namespace fs = std::filesystem;

// The input being run, for Broken's report.
const FuzzInput* current = nullptr;

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        }
    }
    return out;
}

}  // namespace

FuzzInput::FuzzInput(std::span<const std::uint8_t> data, std::size_t choiceBytes)
    : choices_(choiceBytes, 0) {
    std::copy_n(data.begin(), std::min(choiceBytes, data.size()), choices_.begin());
    std::size_t at = std::min(choiceBytes, data.size());
    const std::size_t count = at < data.size() ? data[at++] : 0;
    for (std::size_t i = 0; i < count && at < data.size(); ++i) {
        const auto begin = data.begin() + static_cast<std::ptrdiff_t>(at);
        const auto end = std::find(begin, data.end(), std::uint8_t{'\n'});
        replies_.emplace_back(begin, end);
        at = static_cast<std::size_t>(end - data.begin()) + (end == data.end() ? 0 : 1);
    }
    file_ = data.subspan(at);
    current = this;
}

FuzzInput::~FuzzInput() {
    current = nullptr;
}

std::uint8_t FuzzInput::Choice(std::size_t index) const {
    return index < choices_.size() ? choices_[index] : 0;
}

std::string FuzzInput::Describe() const {
    std::string text = "choices:";
    for (const std::uint8_t c : choices_) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02x", c);
        text += hex;
    }
    text += "\n";
    for (std::size_t i = 0; i < replies_.size(); ++i) {
        text += "reply " + std::to_string(i + 1) + ": \"" + Escaped(replies_[i]) + "\"\n";
    }
    text += "file: " + std::to_string(file_.size()) + " bytes\n";
    return text;
}

Bytes FuzzInput::Encode(std::span<const std::uint8_t> choices,
                        const std::vector<std::string>& replies,
                        std::span<const std::uint8_t> file) {
    Bytes bytes(choices.begin(), choices.end());
    bytes.push_back(static_cast<std::uint8_t>(replies.size()));
    for (const std::string& reply : replies) {
        bytes.insert(bytes.end(), reply.begin(), reply.end());
        bytes.push_back('\n');
    }
    bytes.insert(bytes.end(), file.begin(), file.end());
    return bytes;
}

void Broken(std::string_view what) {
    std::fprintf(stderr, "\n== a rule that must always hold does not: %.*s\n",
                 static_cast<int>(what.size()), what.data());
    if (current != nullptr) {
        std::fprintf(stderr, "%s", current->Describe().c_str());
    }
    std::abort();
}

std::optional<std::int64_t> BytesRead() {
    std::ifstream in("/proc/self/io");
    std::string name;
    std::int64_t value = 0;
    while (in >> name >> value) {
        if (name == "rchar:") {
            return value;
        }
    }
    return std::nullopt;
}

const fs::path& FreshRunFolder() {
    static const testing::TempDir kFolder;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kFolder.Path(), error)) {
        fs::remove_all(entry.path(), error);
        if (error) {
            Broken("cannot empty the run folder: " + error.message());
        }
    }
    if (error) {
        Broken("cannot list the run folder: " + error.message());
    }
    return kFolder.Path();
}

std::optional<Bytes> FileBytes(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        Broken("cannot read " + path.string());
    }
    return bytes;
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        Broken("cannot write " + path.string());
    }
}

Bytes Repeated(std::span<const std::uint8_t> pattern, std::size_t length) {
    Bytes bytes(length, 0);
    if (pattern.empty()) {
        return bytes;
    }
    for (std::size_t at = 0; at < length; at += pattern.size()) {
        std::copy_n(pattern.begin(), std::min(pattern.size(), length - at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return bytes;
}

PathKind PathKindOf(std::uint8_t choice) {
    return static_cast<PathKind>(choice % kPathKinds);
}

NamedFile NameFile(PathKind kind, const fs::path& folder, const fs::path& input,
                   const std::string& name, std::size_t longerBytes) {
    NamedFile file;
    std::error_code error;
    switch (kind) {
        case PathKind::NewFile:
            file.Path = folder / name;
            file.CanBeWritten = true;
            break;
        case PathKind::LongerFile: {
            file.Path = folder / name;
            Bytes old(longerBytes);
            for (std::size_t i = 0; i < old.size(); ++i) {
                old[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
            }
            WriteFile(file.Path, old);
            file.CanBeWritten = true;
            break;
        }
        case PathKind::TheInput:
            file.Path = input;
            file.IsInput = true;
            break;
        case PathKind::InputOtherSpelling:
            file.Path = folder / "." / ".." / folder.filename() / input.filename();
            file.IsInput = true;
            break;
        case PathKind::InputHardLink:
            file.Path = folder / (name + ".link");
            fs::create_hard_link(input, file.Path, error);
            file.IsInput = true;
            break;
        case PathKind::InputSymlink:
            file.Path = folder / (name + ".symlink");
            fs::create_symlink(input, file.Path, error);
            file.IsInput = true;
            break;
        case PathKind::MissingFolder:
            file.Path = folder / "no-such-folder" / name;
            break;
        case PathKind::Folder:
            file.Path = folder;
            break;
    }
    if (error) {
        Broken("cannot make " + file.Path.string() + ": " + error.message());
    }
    file.Before = FileBytes(file.Path);
    return file;
}

void RequireUnchanged(const NamedFile& file, std::string_view what) {
    if (FileBytes(file.Path) != file.Before) {
        Broken(std::string(what) + ": " + file.Path.string() + " changed");
    }
}

Bytes WrittenInPlace(const std::optional<Bytes>& before, const Bytes& written) {
    Bytes result = before.value_or(Bytes{});
    result.resize(std::max(result.size(), written.size()));
    std::copy(written.begin(), written.end(), result.begin());
    return result;
}

}  // namespace qiv::fuzz
