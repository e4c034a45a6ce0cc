#pragma once
// A transfer controller that plays the box for the pages' read and write
// runs: a read (mode 2) serves an image, a write (mode 1) hands over every
// package of the document as the real controller asks for them; any other
// run fails. It records the runs so the tests can check what was asked.

#include "StubTransfer.h"

#include <cstdint>
#include <functional>
#include <vector>

class TMoxDocument;

class ImageTransfer : public StubTransfer {
public:
    int ShowModal() override;

    TMoxDocument* doc = nullptr;         // answers the package requests of a write
    int result = 1;                      // what a run answers
    std::vector<std::uint8_t> readImage; // served on a read
    std::function<void()> duringRun;     // runs inside ShowModal, as a nested loop would

    std::vector<int> runs;     // the mode of each run
    std::vector<int> ioTlnAdr; // the record's bus-address flag at each write
    int packages = 0;          // packages of the last write
};
