// A table host whose state is plain members and whose actions are callbacks (none by
// default), for the table tests.
#pragma once

#include "data/TableHost.h"

#include <functional>

namespace kap::test {

// A host whose state is plain members and whose actions are callbacks (none by default).
class SimpleTableHost : public TableHost {
public:
    explicit SimpleTableHost(Dialogs& dialogs) : dialogs_(dialogs) {}

    Dialogs& dialogs() override { return dialogs_; }
    bool settingUp() const override { return settingUpFlag; }
    bool bulkFilling() const override { return bulkFillFlag; }
    bool angleCheckHeld() const override { return angleHold; }
    bool teaching() const override { return teachingFlag; }
    bool parameterGridShown() const override { return parameterView; }
    bool setButtonEnabled() const override { return setEnabled; }
    void showStatusMessage(const QString& text) override { statusMessages << text; }
    void refreshQuickBoxes() override
    {
        if (onRefreshQuickBoxes)
            onRefreshQuickBoxes();
    }
    void restoreIdle() override
    {
        if (onRestoreIdle)
            onRestoreIdle();
    }
    void endProgram() override
    {
        if (onEndProgram)
            onEndProgram();
    }

    bool settingUpFlag = false;
    bool bulkFillFlag = false;
    bool angleHold = false;
    bool teachingFlag = false;
    bool parameterView = false;
    bool setEnabled = true;
    QStringList statusMessages;
    std::function<void()> onRefreshQuickBoxes;
    std::function<void()> onRestoreIdle;
    std::function<void()> onEndProgram;

private:
    Dialogs& dialogs_;
};

}  // namespace kap::test
