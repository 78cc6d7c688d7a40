#include "app/AppWindows.h"

#include "session/Session.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

#include <QCoreApplication>

namespace kap {

AppWindows::AppWindows(Dialogs& dialogs, ProgramState& state, double timeScale)
    : dialogs_(dialogs), state_(state), timeScale_(timeScale)
{
}

AppWindows::~AppWindows() = default;

PointInputWindow& AppWindows::pointInput()
{
    if (!pointInput_) {
        pointInput_ = std::make_unique<PointInputWindow>(dialogs_, state_);
        configure(*pointInput_);
    }
    return *pointInput_;
}

PulseTrainWindow& AppWindows::pulseTrain()
{
    if (!pulseTrain_) {
        pulseTrain_ = std::make_unique<PulseTrainWindow>(dialogs_, state_);
        configure(*pulseTrain_);
    }
    return *pulseTrain_;
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
