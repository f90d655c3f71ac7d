// The dialogs of the routines, answered from the command line instead of by a user: each prompt
// takes the next reply, each file dialog the next path, each question is answered No, and every
// message box is kept, as it tells why the routine stopped.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/core/dialogs.h"

namespace qiv::qivtool {

class OptionDialogs : public Dialogs {
public:
    OptionDialogs& Reply(std::string text) {
        replies_.push_back(std::move(text));
        return *this;
    }
    OptionDialogs& File(std::string path) {
        files_.push_back(std::move(path));
        return *this;
    }

    void Message(std::string_view text) override { Messages.emplace_back(text); }
    std::optional<std::string> Prompt(std::string_view /*text*/, int /*x*/, int /*y*/) override {
        return Next(replies_);
    }
    std::optional<std::string> ChooseFile(std::string_view /*filter*/) override {
        return Next(files_);
    }
    bool Ask(std::string_view /*question*/) override { return false; }
    std::optional<std::string> PromptFilled(std::string_view /*text*/,
                                            std::string_view /*filled*/) override {
        return Next(replies_);
    }
    std::optional<std::string> ChooseNewFile(std::string_view /*filter*/,
                                             std::string_view /*suggested*/) override {
        return Next(files_);
    }

    // The message boxes shown, in order: the reasons a routine refused.
    std::vector<std::string> Messages;

private:
    // A dialog the options hold no answer for is cancelled.
    static std::optional<std::string> Next(std::deque<std::string>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::deque<std::string> replies_;
    std::deque<std::string> files_;
};

}  // namespace qiv::qivtool
