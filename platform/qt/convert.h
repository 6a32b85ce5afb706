#pragma once

// Between the window code's units and Qt's: UTF-8 and UTF-16, twips and
// logical pixels (15 twips to the pixel, so Qt's high-DPI scaling keeps the
// design on any screen).

#include <QString>
#include <QtMath>

#include <string>
#include <string_view>

namespace velunor::platform {

inline constexpr double kTwipsPerPixel = 15.0;

inline int pixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

inline float twips(int pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace velunor::platform
