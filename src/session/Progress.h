// The progress dialog of data operations (ProgressDialog) as the procedures see it: a bar, and a
// Cancel button whose tag reads "1" after a click and "0" after the dialog was closed.
// Operations poll the tag.
#pragma once

#include <QString>

namespace kap {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setValue(int value) = 0;
    // Shown modeless over the main window; hidden, never destroyed, at the end.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual QString cancelTag() const = 0;
    virtual void setCancelTag(const QString& tag) = 0;
    virtual void setCancelEnabled(bool on) = 0;
};

}  // namespace kap
