// A session view without a screen: records what the session shows and how the window was
// restored, and keeps a progress dialog whose Cancel a test can press.
#pragma once

#include "ScratchState.h"
#include "ScriptedDialogs.h"
#include "session/Session.h"
#include "session/SessionView.h"

#include <QObject>

#include <gtest/gtest.h>

#include <functional>

namespace kap::test {

class FakeProgress : public Progress {
public:
    void setRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void setValue(int v) override
    {
        value = v;
        if (onValue)
            onValue(v);
    }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    QString cancelTag() const override { return tag; }
    void setCancelTag(const QString& t) override { tag = t; }
    void setCancelEnabled(bool on) override { cancelEnabled = on; }

    QPair<int, int> range;
    int value = 0;
    bool visible = false;
    bool cancelEnabled = true;
    QString tag = QStringLiteral("0");
    // Runs at every step of the bar: a test presses Cancel from here.
    std::function<void(int)> onValue;
};

class FakeView : public SessionView {
public:
    void showComS(const QString& t) override { comS = t; }
    void showComR(const QString& t) override { comR = t; }
    void showError(const QString& t) override { error = t; }
    void setMainWindowEnabled(bool on) override { windowEnabled = on; }
    void setToolbarEnabled(bool on) override { toolbarEnabled = on; }
    void setCommandsLocked(bool locked) override { commandsLocked = locked; }
    Progress& progress() override { return bar; }
    bool numericInputSelected() const override { return numericSelected; }
    void focusNumericInput() override { ++numericFocused; }
    void focusSettingPosition() override { ++positionFocused; }
    void showTableGrid() override { ++tableGridShown; }
    void showOriginShift(const QString& h) override { originShift = h; }
    void showStatusMessage(const QString& t) override { statusMessages << t; }
    void showPassingMessage(const QString& t) override { passingMessages << t; }
    void showTitle(const QString& t) override { title = t; }
    void closeWindow() override { ++closed; }

    // The window is usable again after an operation.
    void expectRestored() const
    {
        EXPECT_TRUE(windowEnabled);
        EXPECT_TRUE(toolbarEnabled);
        EXPECT_FALSE(bar.visible);
    }

    FakeProgress bar;
    QString comS, comR, error, originShift, title;
    QStringList statusMessages;
    QStringList passingMessages;
    bool windowEnabled = false;
    bool toolbarEnabled = false;
    bool commandsLocked = true;
    bool numericSelected = true;
    int numericFocused = 0;
    int positionFocused = 0;
    int tableGridShown = 0;
    int closed = 0;
};

// The named child of a window; fails the test when there is none.
template <typename T>
T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no child " << name;
    return found;
}

}  // namespace kap::test
