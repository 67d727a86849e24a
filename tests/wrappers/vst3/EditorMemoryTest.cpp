// The deliverable's editor opened and closed again and again in one process, as a user
// opens and closes a plug-in's window in a host: what each opening takes, the next closing
// gives back, so the process's private bytes settle after the first few openings.

#include "TarnwickModule.h"
#include "harness/HostEditor.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

constexpr int kCycles = 50;
constexpr int kSettledCycle = 5;
constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr double kAllowedGrowth = 2 * kMegabyte;

double PrivateBytes()
{
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters)))
    return 0;
  // Wine leaves PrivateUsage at 0 and counts the private pages as the page-file usage,
  // which is the same figure on Windows.
  return static_cast<double>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

} // namespace

TEST(TarnwickVst3EditorMemory, OpeningAndClosingTheEditorFiftyTimesLeavesPrivateBytesSettled)
{
  Session session;
  ASSERT_TRUE(session.ok());
  HostWindow window(1180, 800);
  double settled = 0;
  std::string figures; // MB after each cycle, for the failure message
  for (int cycle = 1; cycle <= kCycles; ++cycle)
  {
    IPlugView* view = session.instance.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->attached(window.handle(), "HWND"), kOk);
    pumpUntil([] { return false; }, 0.25); // a few frames drawn and shown
    view->removed();
    view->release();
    pumpQueued();
    const double now = PrivateBytes();
    ASSERT_GT(now, 0) << "the process's private bytes cannot be read";
    if (cycle == kSettledCycle)
      settled = now;
    char figure[16];
    std::snprintf(figure, sizeof(figure), " %.1f", now / kMegabyte);
    figures += figure;
  }
  EXPECT_LE(PrivateBytes() - settled, kAllowedGrowth) << "private bytes (MB) after each cycle:" << figures;
}
