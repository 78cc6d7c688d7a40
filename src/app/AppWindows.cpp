#include "AppWindows.h"

#include "PointInputWindow.h"
#include "PulseTrainWindow.h"
#include "Session.h"

#include <QCoreApplication>

namespace kap {

AppWindows::AppWindows(Dialogs& dialogs, double timeScale) : dialogs_(dialogs), timeScale_(timeScale) {}

AppWindows::~AppWindows() = default;

PointInputWindow& AppWindows::pointInput()
{
    if (!main_) {
        main_ = std::make_unique<PointInputWindow>(dialogs_);
        configure(*main_);
    }
    return *main_;
}

PulseTrainWindow& AppWindows::pulseTrain()
{
    if (!pulse_) {
        pulse_ = std::make_unique<PulseTrainWindow>(dialogs_);
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
