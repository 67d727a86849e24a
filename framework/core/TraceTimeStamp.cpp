#include "TraceTimeStamp.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pfw {

namespace {

// Written while a plug-in object is constructed, which the factory serialises.
char gTimeStamp[32] = "";

bool BrokenDownTime(std::time_t now, std::tm& local, std::tm& utc)
{
#if defined(_WIN32)
  return localtime_s(&local, &now) == 0 && gmtime_s(&utc, &now) == 0;
#else
  return localtime_r(&now, &local) && gmtime_r(&now, &utc);
#endif
}

} // namespace

void UpdateTraceTimeStamp()
{
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  if (!BrokenDownTime(now, local, utc))
    return;
  char date[24] = "";
  std::strftime(date, sizeof(date), "%Y%m%d %H:%M ", &local);
  std::tm localCopy = local;
  utc.tm_isdst = local.tm_isdst;
  const long offsetMinutes = static_cast<long>(std::difftime(std::mktime(&localCopy), std::mktime(&utc)) / 60.0);
  const long magnitude = std::labs(offsetMinutes);
  std::snprintf(gTimeStamp, sizeof(gTimeStamp), "%s%c%02d%02d", date, offsetMinutes < 0 ? '-' : '+',
                static_cast<int>(magnitude / 60 % 100), static_cast<int>(magnitude % 60));
}

const char* GetTraceTimeStamp()
{
  return gTimeStamp;
}

} // namespace pfw
