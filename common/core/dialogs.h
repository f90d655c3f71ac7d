// The modal dialogs through which the processing routines talk to the user. The windows
// implement them with Qt's standard dialogs, the tests with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qiv {

class Dialogs {
public:
    static constexpr int kToolkitPlace = -1;

    virtual ~Dialogs() = default;

    // A message box with an OK button and no title of its own.
    virtual void Message(std::string_view text) = 0;
    // A prompt box with an empty entry field at (x, y) twips on the screen, or where the
    // toolkit puts it when x or y is kToolkitPlace; the typed text, or no value when the user
    // cancels.
    virtual std::optional<std::string> Prompt(std::string_view text, int xTwips, int yTwips) = 0;
    // The open-style file dialog, which also takes a typed name of a file that does not exist
    // yet. filter holds description|pattern pairs ("All Files|*.*|Text Files|*.txt"), the first
    // one selected. The chosen full path, or no value when the user cancels.
    virtual std::optional<std::string> ChooseFile(std::string_view filter) = 0;

    // A question box with Yes and No buttons and no title of its own; true for Yes.
    virtual bool Ask(std::string_view question) = 0;
    // A prompt box where the toolkit puts it, its entry field holding `filled` to start with;
    // the text as the user leaves it, or no value when the user cancels.
    virtual std::optional<std::string> PromptFilled(std::string_view text,
                                                    std::string_view filled) = 0;
    // The save-style file dialog, offering `suggested` (a full path); it asks before an
    // existing file is replaced. The chosen full path, or no value when the user cancels.
    virtual std::optional<std::string> ChooseNewFile(std::string_view filter,
                                                     std::string_view suggested) = 0;
};

}  // namespace qiv
