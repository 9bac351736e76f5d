// The one place where the catalogue's Windows-1250 bytes meet Qt's Unicode.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace alborx::ui {

QString toQt(std::string_view cp1250);

// The Windows-1250 bytes of a text, or nothing when the code page cannot
// hold one of its characters.
std::optional<std::string> fromQt(const QString& text);

// As fromQt, with "?" for every character the code page cannot hold.
std::string fromQtLossy(const QString& text);

bool canHold(const QString& text);

} // namespace alborx::ui
