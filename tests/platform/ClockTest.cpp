// The clock seam: manual clock for tests, AL3_CLOCK start instants for processes.
#include <gtest/gtest.h>

#include "platform/Clock.h"

using namespace std::chrono;
using platform::LocalClockTime;

TEST(Clock, FieldsRoundTripThroughLeapDayAndWeekday) {
    LocalClockTime t;
    ASSERT_TRUE(platform::parseInstant("2024-02-29 23:59:59", t));
    const auto f = platform::fieldsOf(t + milliseconds{600});
    EXPECT_EQ(f.year, 2024);
    EXPECT_EQ(f.month, 2);
    EXPECT_EQ(f.day, 29);
    EXPECT_EQ(f.dayOfWeek, 4);  // Thursday
    EXPECT_EQ(f.millisecond, 600);
    EXPECT_EQ(platform::fieldsOf(t + seconds{1}).month, 3);
}

TEST(Clock, RejectsImpossibleInstants) {
    LocalClockTime t;
    for (const char* text :
         {"2023-02-29 00:00:00", "2024-13-01 00:00:00", "2024-01-01 24:00:00", "yesterday",
          "2024-01-01 00:00:00x", "-002-01-01 00:00:00", "+024-01-01 00:00:00", "2024-1-1 0:0:0",
          "2024-01-01 0:00:00", " 2024-01-01 00:00:0", "2024-01-01T00:00:00", "2024/01/01 00:00:00",
          "2024-01-01 00:00", "", "0000-00-00 00:00:00"})
        EXPECT_FALSE(platform::parseInstant(text, t)) << text;
}

TEST(Clock, ManualClockMovesOnlyWhenTold) {
    LocalClockTime start;
    ASSERT_TRUE(platform::parseInstant("2024-03-01 12:00:00", start));
    platform::clock::setManual(start, 4294967000u);
    EXPECT_EQ(platform::clock::now(), start);
    platform::clock::advance(milliseconds{500});
    EXPECT_EQ(platform::clock::now(), start + milliseconds{500});
    EXPECT_EQ(platform::clock::tick64(), 4294967500u);
    EXPECT_EQ(platform::clock::tick32(), 204u);  // the 32-bit counter wrapped
    platform::clock::useSystem();
    EXPECT_FALSE(platform::clock::isManual());
}
