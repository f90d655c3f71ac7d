#include "tools/qivtool/console.h"

namespace qiv::qivtool {

Console::Console(std::string command, std::ostream& out, std::ostream& err, bool errIsTerminal)
    : command_(std::move(command)), out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

Console::~Console() {
    EndProgress();
}

int Console::Refuse(std::string_view message) {
    EndProgress();
    const auto first = message.find_first_not_of(' ');
    message.remove_prefix(first == std::string_view::npos ? message.size() : first);
    err_ << command_ << ": " << message << '\n';
    err_.flush();
    return 1;
}

void Console::ShowLine(const std::string& text) {
    if (!errIsTerminal_) {
        return;
    }
    // Back to the start of the line, the text, and the rest of the old line erased.
    err_ << '\r' << text << "\x1b[K";
    err_.flush();
    lineShown_ = true;
}

void Console::Progress(std::int64_t done, std::int64_t total) {
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    if (percent != percent_) {
        percent_ = percent;
        ShowLine(command_ + ": " + std::to_string(percent) + "%");
    }
}

void Console::EndProgress() {
    percent_ = -1;
    if (lineShown_) {
        err_ << "\r\x1b[K";
        err_.flush();
        lineShown_ = false;
    }
}

void Console::WaitLine::PrintLine(std::string_view /*text*/) {
    // The routines' notice is in the program's own language; the line says the same in English.
    console_.ShowLine(console_.command_ + ": working...");
}

}  // namespace qiv::qivtool
