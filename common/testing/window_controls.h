// Finding and working the controls of a window in a window test, by their objectName. Each helper
// returns the control it worked on; a control that does not exist ends the test at the call, with
// its name, instead of failing later on a null pointer or a placeholder text.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <QtGlobal>

namespace qiv::testing {

template <class Control>
Control& Find(const QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("%s has no control %s of the kind asked for", qPrintable(window.objectName()), name);
    }
    return *found;
}

// The text a control shows: a label's caption, a box's text, a button's caption, a frame's title.
inline QString Caption(const QWidget& window, const char* name) {
    QObject& control = Find<QObject>(window, name);
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(&control)) {
        return box->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
        return frame->title();
    }
    qFatal("%s shows no text", name);
}

inline QAction& Trigger(const QWidget& window, const char* name) {
    QAction& action = Find<QAction>(window, name);
    action.trigger();
    return action;
}

inline QAbstractButton& Click(const QWidget& window, const char* name) {
    QAbstractButton& button = Find<QAbstractButton>(window, name);
    button.click();
    return button;
}

inline QLineEdit& SetText(const QWidget& window, const char* name, const QString& text) {
    QLineEdit& box = Find<QLineEdit>(window, name);
    box.setText(text);
    return box;
}

}  // namespace qiv::testing
