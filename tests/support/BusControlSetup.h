#pragma once
// For the rigs that run the real main window against the box simulator on
// the installation bus: the window hosts the real bus control module, which
// must be registered and must read the program's own settings.

#include "TMoxMain.h"
#include "TestSettingsFile.h"

#include <memory>

// Registers the bus control module at modulePath as the control the main
// window hosts, in the test's settings file, which the module reads through
// this process's settings store and the processes the test starts find in
// the environment. The simulator has no modem lines, so the module's
// test for an interface is switched off. Every setting made so far is
// written to the file. False when the registration failed.
bool HostBusControl(const char* modulePath, mox::test::TestSettingsFile& settings);

// The main window as the program starts it in standard mode, shown and
// with its tree built, its transfer controller the real one on the hosted
// bus control; the other seams stay as the test set them.
std::unique_ptr<TMoxMain> ShowMainWindowOnBus(TMoxMainSeams seams);
