#pragma once
// The firmware part of the rig's transfer form, reached from a unit of its
// own: the transfer extension's headers and the main window's controller
// interface each define the programming state and cannot meet in one unit.

#include <string>

class FakeClock;
class TDataTransfer;

namespace rigfw {

void SetFileName(TDataTransfer& form, const std::string& name);
bool GetFileName(const TDataTransfer& form, std::string& name);
// Moves the clock on to the end of the firmware run's start delay once the
// run has armed it; a time-out further ahead is left alone.
void PassStartDelay(TDataTransfer& form, FakeClock& clock);
// The run waits for the user's start.
bool ReadyToStart(const TDataTransfer& form);
void Start(TDataTransfer& form);
bool Succeeded(const TDataTransfer& form);

} // namespace rigfw
