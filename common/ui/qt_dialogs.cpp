#include "common/ui/qt_dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>

#include "common/ui/text.h"
#include "common/ui/twips.h"

namespace qiv {

void QtDialogs::Message(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), ToQString(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<std::string> QtDialogs::Prompt(std::string_view text, int xTwips, int yTwips) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(ToQString(text));
    dialog.setTextValue(QString());
    if (xTwips != kToolkitPlace && yTwips != kToolkitPlace) {
        QPoint place(TwipsToPixels(xTwips), TwipsToPixels(yTwips));
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            place += screen->geometry().topLeft();
        }
        dialog.move(place);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToStdString(dialog.textValue());
}

std::optional<std::string> QtDialogs::ChooseFile(std::string_view filter) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToStdString(dialog.selectedFiles().constFirst());
}

bool QtDialogs::Ask(std::string_view question) {
    QMessageBox box(QMessageBox::Question, QString(), ToQString(question),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::PromptFilled(std::string_view text, std::string_view filled) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(ToQString(text));
    dialog.setTextValue(ToQString(filled));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToStdString(dialog.textValue());
}

std::optional<std::string> QtDialogs::ChooseNewFile(std::string_view filter,
                                                    std::string_view suggested) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(filter));
    if (!suggested.empty()) {
        dialog.selectFile(ToQString(suggested));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToStdString(dialog.selectedFiles().constFirst());
}

QStringList NameFilters(std::string_view filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        if (pattern == QLatin1String("*.*")) {
            pattern = QStringLiteral("*");  // every file, also those without an extension
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    return filters;
}

}  // namespace qiv
