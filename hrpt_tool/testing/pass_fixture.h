// HRP passes for the tests of the products, made line by line from the counts each sample and
// each calibration word should hold.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "avhrr/frame.h"
#include "hrpt_tool/core/line_record.h"
#include "hrpt_tool/core/hrp_file.h"

namespace qiv::testing {

// The calibration words of one line, as the averager's tests use them: one PRT count on the
// three PRT words (0 on every fifth line, the reference line of the cycle), ten equal back-scan
// counts of channels 3B, 4, 5 and ten equal space counts of channels 1..5.
struct LineWords {
    int Prt = 400;
    std::array<int, 3> BackScan{380, 390, 385};
    std::array<int, 5> Space{40, 40, 990, 985, 988};
    bool Channel3A = false;
    int Address = 0;  // spacecraft address of the ID word
};

struct PassPlan {
    std::int16_t SatId = 14;
    std::array<char, 8> Title{'N', 'O', 'A', 'A', '-', '1', '4', ' '};
    std::int16_t Year = 1998;
    std::int16_t Month = 7;
    std::int16_t Day = 21;
    std::int16_t Hour = 11;
    std::int16_t Minute = 42;
    std::int16_t Secs = 17;
    int DayOfYear = 202;  // of the frames' time codes
    int Lines = 60;
    int StatedLines = -1;  // the header's line count; -1: Lines
    // Counts of channels 1..5 of sample `sample` (0..2047) of line `line` (0-based).
    std::function<std::array<int, 5>(int line, int sample)> Counts = [](int, int) {
        return std::array<int, 5>{60, 60, 600, 600, 600};
    };
    std::function<LineWords(int line)> Words = [](int line) {
        LineWords words;
        words.Prt = line % 5 == 0 ? 0 : 400;
        return words;
    };
};

inline std::vector<std::uint8_t> PassLine(const PassPlan& plan, int line) {
    using namespace qiv::avhrr;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(kFrameBytes));
    for (int k = 0; k < 6; ++k) {
        SetWord(frame, k + 1, kFrameSync[static_cast<std::size_t>(k)]);
    }
    const LineWords words = plan.Words(line);
    SetWord(frame, kIdWord,
            static_cast<std::uint16_t>((words.Address << 3) | (words.Channel3A ? 1 : 0)));
    // The time code of the line: the header's time, 1/6 s a line, on the header's day.
    const std::int64_t ms =
        (plan.Hour * 3600 + plan.Minute * 60 + plan.Secs) * 1000LL + line * 1000LL / 6;
    EncodeTimeCode(frame, TimeCode{plan.DayOfYear, ms});
    for (int k = 0; k < kPrtWords.Count; ++k) {
        SetWord(frame, kPrtWords.First + k, static_cast<std::uint16_t>(words.Prt));
    }
    for (int s = 1; s <= kCalibrationSamples; ++s) {
        for (int t = 0; t < 3; ++t) {
            SetWord(frame, BackScanWord(s, t), static_cast<std::uint16_t>(words.BackScan[t]));
        }
        for (int c = 1; c <= 5; ++c) {
            SetWord(frame, SpaceViewWord(s, c),
                    static_cast<std::uint16_t>(words.Space[static_cast<std::size_t>(c - 1)]));
        }
    }
    for (int s = 0; s < kEarthSamples; ++s) {
        const std::array<int, 5> counts = plan.Counts(line, s);
        for (int c = 1; c <= 5; ++c) {
            SetWord(frame, EarthWord(s + 1, c),
                    static_cast<std::uint16_t>(counts[static_cast<std::size_t>(c - 1)]));
        }
    }
    if (line == 0) {
        swathly::LineHeaderRecord header;
        std::memcpy(header.Title.data(), plan.Title.data(), 8);
        header.SatId = plan.SatId;
        header.Month = plan.Month;
        header.Day = plan.Day;
        header.Year = plan.Year;
        header.Hour = plan.Hour;
        header.Minute = plan.Minute;
        header.Secs = plan.Secs;
        const int stated = plan.StatedLines < 0 ? plan.Lines : plan.StatedLines;
        header.RowsLow = static_cast<std::uint8_t>(stated & 0xFF);
        header.RowsHigh = static_cast<std::uint8_t>((stated >> 8) & 0xFF);
        const auto record = swathly::EncodeLineHeader(header);
        std::copy(record.begin(), record.end(), frame.begin());
    }
    return frame;
}

inline std::filesystem::path WritePass(const std::filesystem::path& file, const PassPlan& plan) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int line = 0; line < plan.Lines; ++line) {
        const std::vector<std::uint8_t> frame = PassLine(plan, line);
        out.write(reinterpret_cast<const char*>(frame.data()),
                  static_cast<std::streamsize>(frame.size()));
    }
    return file;
}

}  // namespace qiv::testing
