// Dialogs answered from a script, for tests and benchmarks: each Prompt and PromptFilled takes
// the next scripted reply, each ChooseFile and ChooseNewFile the next scripted path (no value =
// the user cancelled), each Ask the next scripted yes or no; every dialog is recorded. A dialog
// with no answer left is cancelled (Ask: No) and counted in Unscripted.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/core/dialogs.h"

namespace qiv::testing {

class ScriptedDialogs : public Dialogs {
public:
    struct PromptCall {
        std::string Text;
        int XTwips = 0;
        int YTwips = 0;
        std::string Filled;  // what the entry field held to start with
    };

    ScriptedDialogs& Answer(std::optional<std::string> reply) {
        prompts_.push_back(std::move(reply));
        return *this;
    }
    ScriptedDialogs& File(std::optional<std::string> path) {
        files_.push_back(std::move(path));
        return *this;
    }
    ScriptedDialogs& Reply(bool yes) {
        questions_.push_back(yes);
        return *this;
    }

    void Message(std::string_view text) override {
        Messages.emplace_back(text);
        Notify();
    }
    std::optional<std::string> Prompt(std::string_view text, int xTwips, int yTwips) override {
        PromptCalls.push_back({std::string(text), xTwips, yTwips, {}});
        Notify();
        return Next(prompts_);
    }
    std::optional<std::string> ChooseFile(std::string_view filter) override {
        FileFilters.emplace_back(filter);
        Notify();
        return Next(files_);
    }

    bool Ask(std::string_view question) override {
        Questions.emplace_back(question);
        Notify();
        if (questions_.empty()) {
            ++Unscripted;
            return false;
        }
        const bool yes = questions_.front();
        questions_.pop_front();
        return yes;
    }
    std::optional<std::string> PromptFilled(std::string_view text,
                                            std::string_view filled) override {
        PromptCalls.push_back(
            {std::string(text), kToolkitPlace, kToolkitPlace, std::string(filled)});
        Notify();
        return Next(prompts_);
    }
    std::optional<std::string> ChooseNewFile(std::string_view filter,
                                             std::string_view suggested) override {
        FileFilters.emplace_back(filter);
        Suggested.emplace_back(suggested);
        Notify();
        return Next(files_);
    }

    // True when every scripted answer has been used.
    bool Exhausted() const { return prompts_.empty() && files_.empty() && questions_.empty(); }

    std::vector<std::string> Messages;
    std::vector<PromptCall> PromptCalls;
    std::vector<std::string> FileFilters;
    std::vector<std::string> Questions;
    // The path each ChooseNewFile offered.
    std::vector<std::string> Suggested;
    int Unscripted = 0;
    // Runs as each dialog comes up, after it has been recorded: a window test looks at what the
    // window shows at that moment.
    std::function<void()> OnDialog;

private:
    std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) {
            ++Unscripted;
            return std::nullopt;
        }
        auto answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    void Notify() {
        if (OnDialog) {
            OnDialog();
        }
    }

    std::deque<std::optional<std::string>> prompts_;
    std::deque<std::optional<std::string>> files_;
    std::deque<bool> questions_;
};

}  // namespace qiv::testing
