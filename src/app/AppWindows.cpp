#include "AppWindows.h"

#include "ExchangeCommands.h"
#include "FileCommands.h"

#include "frmMain.h"
#include "frmpulseMaindemo.h"

namespace kap {

AppWindows::AppWindows(Dialogs& dialogs) : dialogs_(dialogs) {}

AppWindows::~AppWindows() = default;

frmMain& AppWindows::pointInput()
{
    if (!main_) {
        main_ = std::make_unique<frmMain>(dialogs_);
        configure(*main_);
    }
    return *main_;
}

frmpulseMaindemo& AppWindows::pulseTrain()
{
    if (!pulse_) {
        pulse_ = std::make_unique<frmpulseMaindemo>(dialogs_);
        configure(*pulse_);
    }
    return *pulse_;
}

void AppWindows::configure(MainFrame& window)
{
    // The commands of each area plug into the window here, one installer per area.
    installExchangeCommands(window);
    installFileCommands(window);
}

}  // namespace kap
