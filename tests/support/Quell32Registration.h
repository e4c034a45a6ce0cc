#pragma once
// The bus control module as the rigs set it up before a host creates it:
// registered (directly, as its self-registration does, or through the
// registration command, as a user does) and with its stored properties
// fitted to the simulator's pseudo-terminal.

#include "ComInterfaces.h"
#include "ComPtr.h"

#include <string>
#include <vector>

namespace mox::test {

// Registers the module at modulePath as the bus control the program hosts
// (its ProgID and class id) and writes every setting to the file. False
// when the registration was refused.
bool RegisterQuell32(const std::string& modulePath);
// The same through the registration command regsvr; false unless it ran
// and succeeded. The command reads the settings file named in the
// environment (TestSettingsFile::ShareWithModules, PerProcessSettingsFile).
bool RegisterQuell32ByCommand(const std::string& regsvr, const std::string& modulePath);

// A pseudo-terminal has no modem lines to find the bus interface by: the
// control's stored properties switch that test off. Written to the file;
// the bag is returned for a control to load.
mox::com::ComPtr<mox::com::IPropertyBag> SwitchOffInterfaceTest();

// Runs a program with the process's environment to its end: its exit code,
// -1 when it did not start or did not end by itself.
int RunProgram(std::vector<std::string> args);

} // namespace mox::test
