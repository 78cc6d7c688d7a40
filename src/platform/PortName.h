// The one rule for port names: "COM1" to "COM8", the only names the tool uses for its ports.
#pragma once

#include <QString>

#include <optional>

namespace kap::ports {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 8;

// The number of "COM1" to "COM8"; nothing for any other text ("COM9", "com2", "COM3 ").
[[nodiscard]] std::optional<int> numberOf(const QString& name);
// "COM" + number.
QString nameOf(int number);
// The name itself when it is a port name, else "COM1".
QString usableOrFirst(const QString& name);

// The settings file holds the port number as decimal text: "1" to "8" (blanks around it are
// allowed) give that port; anything else ("9", "2.5", "x3", "") gives COM1.
QString fromSettingsValue(const QString& value);
// The number written back to the settings file.
QString settingsValueOf(const QString& name);

}  // namespace kap::ports
