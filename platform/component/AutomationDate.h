#pragma once
// Automation dates: days since midnight of 1899-12-30 as a double, the time
// of day as the fraction, in local time.

#include <chrono>

namespace mox::com {

// Local date and time of a moment as an Automation date.
double AutomationDateFromTime(std::chrono::system_clock::time_point when);
// The same from calendar fields (month 1..12, day 1..31).
double AutomationDateFromFields(int year, int month, int day, int hour, int minute, int second,
                                int millisecond);

} // namespace mox::com
