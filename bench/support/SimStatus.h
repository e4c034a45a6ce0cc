#pragma once
// A counter of the simulator's status line ("STATUS idle 1 ... name value
// ..."); 0 when the line does not have it.

#include <cstdlib>
#include <string>

inline long SimStatusField(const std::string& status, const std::string& name) {
    const size_t at = status.find(" " + name + " ");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + name.size() + 2);
}
