#include "framework/core/TraceTimeStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>

TEST(TraceTimeStamp, LocalTimeThenOffsetFromUtc)
{
  pfw::UpdateTraceTimeStamp();
  const std::string stamp = pfw::GetTraceTimeStamp();
  EXPECT_TRUE(std::regex_match(stamp, std::regex("[0-9]{8} [0-9]{2}:[0-9]{2} [+-][0-9]{2}[0-5][0-9]"))) << stamp;
}

#if !defined(_WIN32)
namespace {

std::string StampIn(const char* zone)
{
  setenv("TZ", zone, 1);
  tzset();
  pfw::UpdateTraceTimeStamp();
  return pfw::GetTraceTimeStamp();
}

std::string LocalHour()
{
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[24] = "";
  std::strftime(text, sizeof(text), "%Y%m%d %H:", &local);
  return text;
}

} // namespace

TEST(TraceTimeStamp, OffsetsOfSeveralZones)
{
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  EXPECT_EQ(StampIn("UTC0").substr(15), "+0000");
  EXPECT_EQ(StampIn("EST5").substr(15), "-0500");
  EXPECT_EQ(StampIn("IST-5:30").substr(15), "+0530");
  EXPECT_EQ(StampIn("NST3:30").substr(15), "-0330");

  // The date and time are those of the local zone (read before and after, in case the
  // hour turns meanwhile, both in the zone of the stamp).
  StampIn("EST5");
  const std::string before = LocalHour();
  const std::string stamp = StampIn("EST5").substr(0, 12);
  const std::string after = LocalHour();
  EXPECT_TRUE(stamp == before || stamp == after) << stamp << " " << before;

  if (saved)
    setenv("TZ", previous.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}
#endif
