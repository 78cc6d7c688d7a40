// The program's main windows, created when first needed. Start-up opens one of them; the
// start-up window's transactions use the point-input window's serial line. A window whose
// session asks to end the program (an unknown actuator type) ends it through the
// application's normal quit path.
#pragma once

#include <memory>

namespace kap {

class Dialogs;
class MainFrame;
class ProgramState;
class PointInputWindow;
class PulseTrainWindow;

class AppWindows {
public:
    // timeScale multiplies every protocol wait of the windows' sessions (tests shorten them).
    // state: the program's, kept by the caller while the windows live.
    AppWindows(Dialogs& dialogs, ProgramState& state, double timeScale = 1.0);
    ~AppWindows();

    PointInputWindow& pointInput();
    PulseTrainWindow& pulseTrain();
    bool hasPointInput() const { return bool(pointInput_); }
    bool hasPulseTrain() const { return bool(pulseTrain_); }
    Dialogs& dialogs() { return dialogs_; }
    ProgramState& programState() { return state_; }
    double timeScale() const { return timeScale_; }

private:
    void configure(MainFrame& window) const;

    Dialogs& dialogs_;
    ProgramState& state_;
    double timeScale_;
    std::unique_ptr<PointInputWindow> pointInput_;
    std::unique_ptr<PulseTrainWindow> pulseTrain_;
};

}  // namespace kap
