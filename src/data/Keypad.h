// The numeric keypad's value as its keys build it, kept apart from the widget so the rules
// can be checked without a screen.
#pragma once

#include <QString>

namespace kap {

// The keys in the keypad's TENKEY order: 0 to 9 are the digits, then ".", "CLR", "-".
enum class KeypadKey { Point = 10, Clear = 11, Minus = 12 };

class Keypad {
public:
    // Applies key index 0 to 12 (TENKEY); other indexes do nothing.
    void press(int key);
    void press(KeypadKey key) { press(int(key)); }
    // Presses keys given as characters: digits, '.', '-', and 'C' for CLR.
    void pressAll(const QString& keys);

    QString value() const { return value_; }
    bool pointEntered() const { return point_; }

private:
    QString value_ = QStringLiteral("0");
    bool point_ = false;
};

}  // namespace kap
