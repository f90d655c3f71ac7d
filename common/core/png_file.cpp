#include "common/core/png_file.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

namespace qiv {

// libpng reports its errors by a long jump back to the last setjmp. Every call into it goes
// through Guarded, whose frame holds nothing that needs destroying, so that the jump skips no
// destructor; the encoder keeps the reason.
struct PngFile::Encoder {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ReplacingFile* File = nullptr;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::int64_t RowsWritten = 0;
    PngColours Colours = PngColours::Rgb;
    std::vector<std::uint8_t> Row;      // one row as PNG bytes
    std::vector<std::uint8_t> Pending;  // encoded bytes not yet in the file
    std::int64_t Offset = 0;            // where Pending goes in the file
    Failure WriteFailure;               // the file's own failure, when a write failed
    std::string LibraryError;           // libpng's words, when it gave up on its own

    ~Encoder() {
        if (Png != nullptr) {
            png_destroy_write_struct(&Png, &Info);
        }
    }

    Failure Flush() {
        if (Pending.empty()) {
            return {};
        }
        if (Failure failure = File->WriteAt(Offset, Pending)) {
            return failure;
        }
        Offset += static_cast<std::int64_t>(Pending.size());
        Pending.clear();
        return {};
    }
};

namespace {

// Encoded bytes are collected and go out in blocks of this size.
constexpr std::size_t kWriteBlock = std::size_t{1} << 18;

PngFile::Encoder& EncoderOf(png_structp png) {
    return *static_cast<PngFile::Encoder*>(png_get_io_ptr(png));
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* encoder = static_cast<PngFile::Encoder*>(png_get_error_ptr(png));
    if (encoder != nullptr && encoder->LibraryError.empty()) {
        encoder->LibraryError = message;
    }
    png_longjmp(png, 1);
}

void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void OnWrite(png_structp png, png_bytep data, png_size_t size) {
    PngFile::Encoder& encoder = EncoderOf(png);
    encoder.Pending.insert(encoder.Pending.end(), data, data + size);
    if (encoder.Pending.size() >= kWriteBlock) {
        if (Failure failure = encoder.Flush()) {
            encoder.WriteFailure = std::move(failure);
            png_error(png, "write failed");
        }
    }
}

void OnFlush(png_structp /*png*/) {}

template <class Call>
bool Guarded(png_structp png, const Call& call) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    call();
    return true;
}

}  // namespace

PngFile::PngFile() = default;

PngFile::~PngFile() {
    if (encoder_) {
        (void)Abandon({});
    }
}

Failure PngFile::Abandon(Failure failure) {
    encoder_.reset();
    file_.Abandon();
    return failure;
}

Failure PngFile::Open(const std::filesystem::path& path, std::int64_t width, std::int64_t height,
                      PngColours colours) {
    if (encoder_) {
        (void)Abandon({});
    }
    // The PNG format counts rows and columns in 31 bits.
    constexpr std::int64_t kMostSide = 0x7FFFFFFF;
    if (width < 1 || height < 1 || width > kMostSide || height > kMostSide) {
        Failure::Details details{FileProblem::Refused, FileRole::Output, path.string(),
                                 "A PNG picture needs 1 to 2147483647 rows and columns, not " +
                                     std::to_string(height) + " x " + std::to_string(width) + "."};
        return details;
    }
    // The temporary file beside a folder could be written, but never renamed over it: a folder
    // is refused as a file that cannot be opened, before anything is written.
    std::error_code error;
    if (path.empty() || std::filesystem::is_directory(path, error)) {
        return Failure::Details{FileProblem::CannotOpen, FileRole::Output, path.string(),
                                std::strerror(path.empty() ? ENOENT : EISDIR)};
    }
    if (Failure failure = file_.Open(path, ".save")) {
        return failure;
    }
    encoder_ = std::make_unique<Encoder>();
    Encoder& e = *encoder_;
    e.File = &file_;
    e.Width = width;
    e.Height = height;
    e.Colours = colours;
    e.Row.resize(static_cast<std::size_t>(width) * (colours == PngColours::Rgb ? 3 : 1));
    e.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e, OnError, OnWarning);
    if (e.Png == nullptr) {
        return Abandon(file_.Fail(FileProblem::CannotWrite, "out of memory"));
    }
    e.Info = png_create_info_struct(e.Png);
    if (e.Info == nullptr) {
        return Abandon(file_.Fail(FileProblem::CannotWrite, "out of memory"));
    }
    const bool written = Guarded(e.Png, [&e] {
        png_set_write_fn(e.Png, &e, OnWrite, OnFlush);
        png_set_user_limits(e.Png, 0x7FFFFFFF, 0x7FFFFFFF);
        // Paintings are large and often noisy. Run-length matching over the differences to
        // the left neighbour encodes them about three times as fast as zlib's fastest general
        // setting and, on satellite scenes, about as small; the encoding stays far from
        // dominating the writing of a picture.
        png_set_compression_level(e.Png, 1);
        png_set_compression_strategy(e.Png, Z_RLE);
        png_set_filter(e.Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_IHDR(e.Png, e.Info, static_cast<png_uint_32>(e.Width),
                     static_cast<png_uint_32>(e.Height), 8,
                     e.Colours == PngColours::Rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_write_info(e.Png, e.Info);
    });
    if (!written) {
        return Abandon(e.WriteFailure ? std::move(e.WriteFailure)
                                      : file_.Fail(FileProblem::CannotWrite, e.LibraryError));
    }
    return {};
}

Failure PngFile::WriteRow(std::span<const Colour> row) {
    if (!encoder_) {
        return file_.Fail(FileProblem::CannotWrite, "no PNG file is open");
    }
    Encoder& e = *encoder_;
    if (static_cast<std::int64_t>(row.size()) != e.Width || e.RowsWritten >= e.Height) {
        return Abandon(
            file_.Fail(FileProblem::CannotWrite, "a row that the picture does not have"));
    }
    std::uint8_t* out = e.Row.data();
    switch (e.Colours) {
        case PngColours::Rgb:
            for (const Colour c : row) {
                *out++ = static_cast<std::uint8_t>(RedOf(c));
                *out++ = static_cast<std::uint8_t>(GreenOf(c));
                *out++ = static_cast<std::uint8_t>(BlueOf(c));
            }
            break;
        case PngColours::Grey:
            for (const Colour c : row) {
                *out++ = static_cast<std::uint8_t>(GreenOf(c));
            }
            break;
    }
    if (!Guarded(e.Png, [&e] { png_write_row(e.Png, e.Row.data()); })) {
        return Abandon(e.WriteFailure ? std::move(e.WriteFailure)
                                      : file_.Fail(FileProblem::CannotWrite, e.LibraryError));
    }
    ++e.RowsWritten;
    return {};
}

Failure PngFile::Finish() {
    if (!encoder_) {
        return file_.Fail(FileProblem::CannotWrite, "no PNG file is open");
    }
    Encoder& e = *encoder_;
    if (e.RowsWritten != e.Height) {
        return Abandon(file_.Fail(FileProblem::CannotWrite,
                                  "only " + std::to_string(e.RowsWritten) + " of " +
                                      std::to_string(e.Height) + " rows were written"));
    }
    if (!Guarded(e.Png, [&e] { png_write_end(e.Png, nullptr); })) {
        return Abandon(e.WriteFailure ? std::move(e.WriteFailure)
                                      : file_.Fail(FileProblem::CannotWrite, e.LibraryError));
    }
    if (Failure failure = e.Flush()) {
        return Abandon(std::move(failure));
    }
    encoder_.reset();
    if (Failure failure = file_.Commit()) {
        return Abandon(std::move(failure));
    }
    return {};
}

}  // namespace qiv
