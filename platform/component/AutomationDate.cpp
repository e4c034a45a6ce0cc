#include "AutomationDate.h"

#include <ctime>

namespace mox::com {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 1899-12-30 is 25569 days before 1970-01-01.
constexpr long kEpochOffsetDays = 25569;

} // namespace

double AutomationDateFromFields(int year, int month, int day, int hour, int minute, int second,
                                int millisecond) {
    const double days = static_cast<double>(DaysFromCivil(year, month, day) + kEpochOffsetDays);
    const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
    // Before the epoch the fraction still counts forward from midnight; the
    // dates used here are all well after it.
    return days + ms / 86400000.0;
}

double AutomationDateFromTime(std::chrono::system_clock::time_point when) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    const std::time_t secs = static_cast<std::time_t>(ms.count() / 1000);
    // The bus control stamps every telegram, many a second; the local time
    // of a second is looked up once (per thread).
    thread_local std::time_t lastSecs = -1;
    thread_local std::tm lastLocal{};
    if (secs != lastSecs) {
        ::localtime_r(&secs, &lastLocal);
        lastSecs = secs;
    }
    const std::tm& local = lastLocal;
    return AutomationDateFromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                    local.tm_hour, local.tm_min, local.tm_sec,
                                    static_cast<int>(ms.count() % 1000));
}

} // namespace mox::com
