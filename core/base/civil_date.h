#pragma once
// Days since 1970-01-01 as a date of the proleptic Gregorian calendar (the era-based
// conversion, exact for negative day counts too).
#include <cstdint>

namespace tw {

struct CivilDate {
    int64_t year = 0;
    int64_t month = 0;  // 1 to 12
    int64_t day = 0;    // 1 to 31
};

constexpr CivilDate civil_from_days(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace tw
