// A WindowSide without a screen: records what the link shows and how the window was restored.
#pragma once

#include "ScriptedDialogs.h"
#include "WindowSide.h"

namespace kap::test {

class FakeWindow : public WindowSide {
public:
    ScriptedDialogs scripted;

    Dialogs& dialogs() override { return scripted; }
    void showComS(const QString& t) override { comS = t; }
    void showComR(const QString& t) override { comR = t; }
    void showError(const QString& t) override { error = t; }
    void setMainWindowEnabled(bool on) override { windowEnabled = on; }
    void hideProgress() override { progressVisible = false; }
    void setToolbarEnabled(bool on) override { toolbarEnabled = on; }
    void setCommandsLocked(bool locked) override { commandsLocked = locked; }
    bool numericInputSelected() const override { return numericSelected; }
    void focusNumericInput() override { ++numericFocused; }

    QString comS, comR, error;
    bool windowEnabled = false;
    bool progressVisible = true;
    bool toolbarEnabled = false;
    bool commandsLocked = true;
    bool numericSelected = true;
    int numericFocused = 0;
};

}  // namespace kap::test
