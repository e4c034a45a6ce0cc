#pragma once
// The simulator's end of a pseudo-terminal: the master it reads and writes,
// and a held slave that keeps the master from reporting a hang-up each time
// the PC closes its port (it does so at every change of the link).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace boxsim {

// CLOCK_MONOTONIC in nanoseconds: the clock the PC's process shares, so
// the simulator's own times can be set against the PC's.
std::int64_t SimSteadyNs();

// The simulator's writes to the PC so far and when the last one returned.
struct SimWriteMark {
    long writes = 0;
    std::int64_t lastNs = 0;
};

// Writes all of bytes to the master, waiting while the line is full but
// giving up after a while (a PC that stops reading must not hold the
// simulator for ever); returns the bytes written and marks the write.
std::size_t WriteToPc(int master, const std::vector<uint8_t>& bytes, SimWriteMark& mark);

// Opens a non-blocking master and holds its slave in raw mode, so nothing is
// echoed back before the PC sets the line. On failure error says why.
bool OpenSimPty(int& master, int& slaveHold, std::string& path, std::string* error);
// Closes both ends that are open and marks them closed.
void CloseSimPty(int& master, int& slaveHold);
// The PC's end of the line, for the simulator's own tests: the slave
// opened non-blocking and set raw, as the PC's port sets it; closed at the
// end.
class SimPcEnd {
public:
    SimPcEnd() = default;
    ~SimPcEnd();
    SimPcEnd(const SimPcEnd&) = delete;
    SimPcEnd& operator=(const SimPcEnd&) = delete;

    bool Open(const std::string& path);
    int Fd() const { return m_fd; }
    // Writes all of bytes at once; false when the line took less.
    bool Write(const std::vector<uint8_t>& bytes) const;

private:
    int m_fd = -1;
};

} // namespace boxsim
