#include "AppWindows.h"

#include "Session.h"
#include "frmMain.h"
#include "frmpulseMaindemo.h"

#include <QCoreApplication>

namespace kap {

AppWindows::AppWindows(Dialogs& dialogs, ProgramState& state, double timeScale)
    : dialogs_(dialogs), state_(state), timeScale_(timeScale)
{
}

AppWindows::~AppWindows() = default;

frmMain& AppWindows::pointInput()
{
    if (!main_) {
        main_ = std::make_unique<frmMain>(dialogs_, state_);
        configure(*main_);
    }
    return *main_;
}

frmpulseMaindemo& AppWindows::pulseTrain()
{
    if (!pulse_) {
        pulse_ = std::make_unique<frmpulseMaindemo>(dialogs_, state_);
        configure(*pulse_);
    }
    return *pulse_;
}

void AppWindows::configure(MainFrame& window) const
{
    window.session().setTimeScale(timeScale_);
    // Leaves every event loop, nested ones included, so the windows unwind and main() returns
    // with the temporary files cleaned up.
    QObject::connect(&window.session(), &Session::programEndRequested, &window,
                     [] { QCoreApplication::exit(1); });
}

}  // namespace kap
