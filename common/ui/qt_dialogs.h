// The modal dialogs of the programs, made of Qt's standard dialogs.
#pragma once

#include <QWidget>

#include "common/core/dialogs.h"

namespace qiv {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void Message(std::string_view text) override;
    std::optional<std::string> Prompt(std::string_view text, int xTwips, int yTwips) override;
    std::optional<std::string> ChooseFile(std::string_view filter) override;
    bool Ask(std::string_view question) override;
    std::optional<std::string> PromptFilled(std::string_view text,
                                            std::string_view filled) override;
    std::optional<std::string> ChooseNewFile(std::string_view filter,
                                             std::string_view suggested) override;

private:
    QWidget* parent_;
};

// "All Files|*.*|Text Files|*.txt" as Qt name filters: "All Files (*)", "Text Files (*.txt)".
QStringList NameFilters(std::string_view filter);

}  // namespace qiv
