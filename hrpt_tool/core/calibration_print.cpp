#include "hrpt_tool/core/calibration_print.h"

#include <span>

#include "common/core/binary_file.h"

namespace qiv::swathly {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPrintZone = 14;

}  // namespace

std::string NumberForm(std::int16_t value) {
    std::string digits = std::to_string(value);
    if (value >= 0) {
        digits.insert(digits.begin(), ' ');
    }
    digits += ' ';
    return digits;
}

std::string CalibrationText(const SwathlyState& state) {
    std::string text;
    // Line 1: the three telemetry values, each starting at the next 14-column print zone.
    std::string zones;
    for (const std::int16_t value : state.TelemetryTriple) {
        if (!zones.empty()) {
            zones.resize((zones.size() / kPrintZone + 1) * kPrintZone, ' ');
        }
        zones += NumberForm(value);
    }
    text += zones;
    text += kLineEnd;
    text += ' ';
    text += kLineEnd;
    for (std::size_t i = 0; i < 10; ++i) {
        for (const auto& run : state.BackScan) {
            text += NumberForm(run[i]);
        }
        text += kLineEnd;
    }
    for (std::size_t j = 0; j < 10; ++j) {
        for (std::size_t run = 0; run < 3; ++run) {
            text += NumberForm(state.SpaceView[run][j]);
        }
        text += kLineEnd;
        for (std::size_t run = 3; run < 5; ++run) {
            text += NumberForm(state.SpaceView[run][j]);
        }
        text += kLineEnd;
    }
    text += ' ';
    text += kLineEnd;
    return text;
}

Failure PrintCalibration(const SwathlyState& state) {
    BinaryFile out(FileRole::Calibration);
    if (SameFile(state.DatPath, state.InputPath)) {
        return Failure::Details{FileProblem::IsTheInput, FileRole::Calibration, state.DatPath, {}};
    }
    if (Failure failure = out.Open(state.DatPath, BinaryFile::Mode::WriteTruncate)) {
        return failure;
    }
    const std::string text = CalibrationText(state);
    const auto bytes = std::as_bytes(std::span(text));
    return out.WriteAt(0, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace qiv::swathly
