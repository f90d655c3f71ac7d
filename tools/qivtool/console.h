// Where a qivtool subcommand talks to its user: results on stdout (or the output file), every
// message on stderr, prefixed with the command, and a progress line on stderr while long work
// runs, but only when stderr is a terminal, so that scripts and logs get nothing of it.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "common/core/canvas.h"

namespace qiv::qivtool {

class Console {
public:
    // command: "qivtool render", the prefix of every message.
    Console(std::string command, std::ostream& out, std::ostream& err, bool errIsTerminal);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    std::ostream& Out() { return out_; }
    const std::string& Command() const { return command_; }

    // Prints the message (without the leading blanks some fixed texts carry) and returns the
    // status of a refusal.
    int Refuse(std::string_view message);

    // The progress line: "qivtool render: 42%", rewritten as the percentage grows.
    void Progress(std::int64_t done, std::int64_t total);
    // Takes the progress line away again.
    void EndProgress();

    // The wait notice of the routines: "qivtool tables: working..." on the progress line while
    // the notice is shown.
    Canvas& WaitArea() { return waitArea_; }

private:
    class WaitLine : public Canvas {
    public:
        explicit WaitLine(Console& console) : console_(console) {}
        int Width() const override { return 81; }
        int Height() const override { return 25; }
        void Clear() override { console_.EndProgress(); }
        void SetPixel(int, int, Colour) override {}
        void SetPixelRun(int, int, int, std::span<const Colour>) override {}
        void Line(int, int, int, int, Colour) override {}
        void Point(int, int) override {}
        void PrintLine(std::string_view text) override;

    private:
        Console& console_;
    };

    void ShowLine(const std::string& text);

    std::string command_;
    std::ostream& out_;
    std::ostream& err_;
    bool errIsTerminal_;
    bool lineShown_ = false;
    int percent_ = -1;
    WaitLine waitArea_{*this};
};

}  // namespace qiv::qivtool
