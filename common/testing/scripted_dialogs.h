// Dialogs answered from a script, for tests and benchmarks: each Prompt and ChooseFile takes the
// next scripted answer (no value = the user cancelled); every message and prompt is recorded.
// A dialog with no answer left is cancelled and counted in `unscripted`.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialogs.h"

namespace qiv::testing {

class ScriptedDialogs : public Dialogs {
public:
    struct PromptCall {
        std::string text;
        int xTwips = 0;
        int yTwips = 0;
    };

    ScriptedDialogs& Answer(std::optional<std::string> reply) {
        prompts_.push_back(std::move(reply));
        return *this;
    }
    ScriptedDialogs& File(std::optional<std::string> path) {
        files_.push_back(std::move(path));
        return *this;
    }

    void Message(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> Prompt(std::string_view text, int xTwips, int yTwips) override {
        promptCalls.push_back({std::string(text), xTwips, yTwips});
        if (prompts_.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        auto reply = std::move(prompts_.front());
        prompts_.pop_front();
        return reply;
    }
    std::optional<std::string> ChooseFile(std::string_view filter) override {
        fileFilters.emplace_back(filter);
        if (files_.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        auto path = std::move(files_.front());
        files_.pop_front();
        return path;
    }

    // True when every scripted answer has been used.
    bool Exhausted() const { return prompts_.empty() && files_.empty(); }

    std::vector<std::string> messages;
    std::vector<PromptCall> promptCalls;
    std::vector<std::string> fileFilters;
    int unscripted = 0;

private:
    std::deque<std::optional<std::string>> prompts_;
    std::deque<std::optional<std::string>> files_;
};

}  // namespace qiv::testing
