#pragma once
// The simulator's end of a pseudo-terminal: the master it reads and writes,
// and a held slave that keeps the master from reporting a hang-up each time
// the PC closes its port (it does so at every change of the link).

#include <string>

namespace boxsim {

// Opens a non-blocking master and holds its slave in raw mode, so nothing is
// echoed back before the PC sets the line. On failure error says why.
bool OpenSimPty(int& master, int& slaveHold, std::string& path, std::string* error);
// Closes both ends that are open and marks them closed.
void CloseSimPty(int& master, int& slaveHold);

} // namespace boxsim
