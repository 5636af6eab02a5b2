// The local time of day the clock reads: the wall clock's local time in days, in whole
// milliseconds, whatever the time zone.
#include "platform/TimeOfDay.h"

#include <QTime>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tarnell {

TEST(TimeOfDay, IsTheLocalTimeOfDayInWholeMilliseconds) {
    const char* previous = std::getenv("TZ");
    const std::optional<std::string> kept =
        previous ? std::optional<std::string>(previous) : std::nullopt;
    // Zones hours apart, one of them by a half hour: a reading in the wrong zone is caught.
    for (const char* zone : {"UTC0", "XST-5:30", "YST+9"}) {
        SCOPED_TRACE(zone);
        setenv("TZ", zone, 1);
        tzset(); // the program reads its zone once; a test that switches zones says so
        // Bracketed by the toolkit's readings, so that a midnight between them is noticed.
        const int before = QTime::currentTime().msecsSinceStartOfDay();
        const double days = platform::timeOfDayInDays();
        const int after = QTime::currentTime().msecsSinceStartOfDay();
        ASSERT_GE(days, 0.0);
        ASSERT_LT(days, 1.0);
        const double milliseconds = days * 86400000.0;
        EXPECT_NEAR(milliseconds, std::round(milliseconds), 1e-3);
        if (before <= after) {
            EXPECT_GE(std::round(milliseconds), before);
            EXPECT_LE(std::round(milliseconds), after);
        }
    }
    if (kept)
        setenv("TZ", kept->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace tarnell
