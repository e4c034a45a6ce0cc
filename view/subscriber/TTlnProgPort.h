#pragma once
// ITlnProgPort on the transfer controller's programming part. Kept apart
// from the files that see the main window's side (see ITlnProgPort.h).

#include "ITlnProgPort.h"

#include <memory>

class TTlnProg;

std::unique_ptr<ITlnProgPort> MakeTlnProgPort(TTlnProg& prog);
