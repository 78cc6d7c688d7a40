#include "data/Keypad.h"

namespace kap {

void Keypad::press(int key)
{
    if (key >= 1 && key <= 9) {
        if (value_ == u"0")
            value_.clear();
        else if (value_ == u"-0")
            value_ = QStringLiteral("-");
        value_ += QChar(u'0' + key);
    } else if (key == 0) {
        if (value_ != u"0")
            value_ += u'0';
    } else if (key == int(KeypadKey::Point)) {
        if (!point_) {
            value_ += u'.';
            point_ = true;
        }
    } else if (key == int(KeypadKey::Clear)) {
        value_ = QStringLiteral("0");
        point_ = false;
    } else if (key == int(KeypadKey::Minus)) {
        // The sign can only stand in front, so a value holding "-" starts with it.
        if (value_.contains(u'-'))
            value_.remove(0, 1);
        else
            value_.prepend(u'-');
    }
}

void Keypad::pressAll(const QString& keys)
{
    for (const QChar ch : keys) {
        if (ch >= u'0' && ch <= u'9')
            press(ch.unicode() - u'0');
        else if (ch == u'.')
            press(KeypadKey::Point);
        else if (ch == u'C')
            press(KeypadKey::Clear);
        else if (ch == u'-')
            press(KeypadKey::Minus);
    }
}

}  // namespace kap
