#include "TarnwickModule.h"

#include <cmath>

namespace tarnwicktest {

ModuleUnderTest Tarnwick()
{
  ModuleUnderTest module;
  module.path = TARNWICK_MODULE_PATH;
  module.className = "TARN WICK";
  module.vendor = "QUILLTONE";
  module.subCategories = "Fx|Distortion";
  module.classId = kClassId;
  module.classFlags = 2;
  module.latency = kLatency;
  // Main bus, optional side-chain; one or two outputs.
  module.accepted = {{{kStereo}, {kStereo}},         {{kMono}, {kStereo}},         {{kMono}, {kMono}},
                     {{kStereo, kStereo}, {kStereo}}, {{kMono, kStereo}, {kStereo}}, {{kStereo, kMono}, {kStereo}},
                     {{kMono, kMono}, {kMono}}};
  module.refused = {{{kStereo}, {kMono}},
                    {{kStereo, kStereo, kStereo}, {kStereo}},
                    {{0x7}, {kStereo}},
                    {{}, {kStereo}},
                    {{kStereo}, {kStereo, kStereo}},
                    {{kStereo, kStereo}, {kMono}}};
  return module;
}

Session::Session(const wchar_t* modulePath, const Iid& classId)
{
  std::string problem;
  if (!module.load(modulePath, problem))
  {
    ADD_FAILURE() << problem;
    return;
  }
  EXPECT_TRUE(module.initDll());
  factory = module.factory();
  if (!factory || !instance.create(factory, classId, &host))
    ADD_FAILURE() << "no instance";
}

std::vector<ParameterInfo> Parameters(Session& session)
{
  std::vector<ParameterInfo> all;
  for (int32_t i = 0; i < session.instance.controller->getParameterCount(); ++i)
  {
    ParameterInfo info{};
    EXPECT_EQ(session.instance.controller->getParameterInfo(i, info), kOk);
    all.push_back(info);
  }
  return all;
}

Session::~Session()
{
  instance.destroy();
  releaseAndClear(factory);
  module.unload();
}

void Session::start(double rate, int32_t size, int32_t maxBlock, bool aux)
{
  sampleSize = size;
  ASSERT_TRUE(startProcessing(instance, rate, sampleSize, maxBlock, aux));
}

tresult Session::run(Block& block, ParameterChanges* changes)
{
  block.data().inputParameterChanges = changes;
  return instance.processor->process(block.data());
}

void Session::send(ParamID id, ParamValue value)
{
  Block flush(sampleSize, 0, {}, {});
  ParameterChanges changes;
  changes.add(id, 0, value);
  EXPECT_EQ(run(flush, &changes), kOk);
}

std::vector<int32_t> StereoInputs(bool aux)
{
  return aux ? std::vector<int32_t>{2, 2} : std::vector<int32_t>{2};
}

double ToneLevel(const std::vector<double>& signal, double frequency, double rate)
{
  const double coefficient = 2.0 * std::cos(2.0 * 3.14159265358979323846 * frequency / rate);
  double s1 = 0.0, s2 = 0.0;
  for (double x : signal)
  {
    const double s = x + coefficient * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return std::sqrt(std::max(power, 0.0)) / static_cast<double>(signal.size());
}

} // namespace tarnwicktest
