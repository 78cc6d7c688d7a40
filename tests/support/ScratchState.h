// A fresh program state for one test.
#pragma once

#include "link/ProgramState.h"

#include <QTemporaryDir>

namespace kap::test {

// A program state of its own with the settings file in a private folder, so a test never
// touches a shared one.
class ScratchState : public ProgramState {
public:
    ScratchState() { programFolder = dir_.path(); }
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

}  // namespace kap::test
