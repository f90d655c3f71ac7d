// Conversions between the UTF-8 texts of the processing code and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qiv {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace qiv
