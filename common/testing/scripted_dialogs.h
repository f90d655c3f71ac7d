// Dialogs answered from a script, for tests and benchmarks: each Prompt and ChooseFile takes the
// next scripted answer (no value = the user cancelled); every message and prompt is recorded.
// A dialog with no answer left is cancelled and counted in `unscripted`.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs.h"

namespace qiv::testing {

class ScriptedDialogs : public Dialogs {
public:
    struct PromptCall {
        std::string Text;
        int XTwips = 0;
        int YTwips = 0;
    };

    ScriptedDialogs& Answer(std::optional<std::string> reply) {
        prompts_.push_back(std::move(reply));
        return *this;
    }
    ScriptedDialogs& File(std::optional<std::string> path) {
        files_.push_back(std::move(path));
        return *this;
    }

    void Message(std::string_view text) override {
        Messages.emplace_back(text);
        Notify();
    }
    std::optional<std::string> Prompt(std::string_view text, int xTwips, int yTwips) override {
        PromptCalls.push_back({std::string(text), xTwips, yTwips});
        Notify();
        if (prompts_.empty()) {
            ++Unscripted;
            return std::nullopt;
        }
        auto reply = std::move(prompts_.front());
        prompts_.pop_front();
        return reply;
    }
    std::optional<std::string> ChooseFile(std::string_view filter) override {
        FileFilters.emplace_back(filter);
        Notify();
        if (files_.empty()) {
            ++Unscripted;
            return std::nullopt;
        }
        auto path = std::move(files_.front());
        files_.pop_front();
        return path;
    }

    // True when every scripted answer has been used.
    bool Exhausted() const { return prompts_.empty() && files_.empty(); }

    std::vector<std::string> Messages;
    std::vector<PromptCall> PromptCalls;
    std::vector<std::string> FileFilters;
    int Unscripted = 0;
    // Runs as each dialog comes up, after it has been recorded: a window test looks at what the
    // window shows at that moment.
    std::function<void()> OnDialog;

private:
    void Notify() {
        if (OnDialog) {
            OnDialog();
        }
    }

    std::deque<std::optional<std::string>> prompts_;
    std::deque<std::optional<std::string>> files_;
};

}  // namespace qiv::testing
