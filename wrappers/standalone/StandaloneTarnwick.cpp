#include "wrappers/standalone/StandaloneTarnwick.h"

#include "product/core/Tarnwick.h"

pfw::IPluginAPP* MakeStandaloneTarnwick(StandaloneHost& host)
{
  TarnwickInstanceInfo info;
  info.host = &host;
  return MakeTarnwick(info);
}
