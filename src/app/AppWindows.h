// The program's main windows, created when first needed. Start-up opens one of them; the
// start-up window's transactions use the point-input window's serial line.
#pragma once

#include <memory>

namespace kap {

class Dialogs;
class MainFrame;
class frmMain;
class frmpulseMaindemo;

class AppWindows {
public:
    explicit AppWindows(Dialogs& dialogs);
    ~AppWindows();

    frmMain& pointInput();
    frmpulseMaindemo& pulseTrain();
    bool hasPointInput() const { return bool(main_); }
    bool hasPulseTrain() const { return bool(pulse_); }
    Dialogs& dialogs() { return dialogs_; }

private:
    static void configure(MainFrame& window);

    Dialogs& dialogs_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmpulseMaindemo> pulse_;
};

}  // namespace kap
