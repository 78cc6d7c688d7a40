#include "AppWindows.h"

#include "frmMain.h"
#include "frmpulseMaindemo.h"

namespace kap {

AppWindows::AppWindows(Dialogs& dialogs) : dialogs_(dialogs) {}

AppWindows::~AppWindows() = default;

frmMain& AppWindows::pointInput()
{
    if (!main_)
        main_ = std::make_unique<frmMain>(dialogs_);
    return *main_;
}

frmpulseMaindemo& AppWindows::pulseTrain()
{
    if (!pulse_)
        pulse_ = std::make_unique<frmpulseMaindemo>(dialogs_);
    return *pulse_;
}

}  // namespace kap
