// The 696-byte component state: its layout, round trips and refusals that change nothing.

#include "TarnwickModule.h"

#include <atomic>
#include <cstring>
#include <thread>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

std::vector<char> Save(Session& session)
{
  MemoryStream stream;
  EXPECT_EQ(session.instance.component->getState(&stream), kOk);
  return stream.bytes;
}

tresult Load(Session& session, const std::vector<char>& bytes, int32_t chunk = 0x7FFFFFFF)
{
  MemoryStream stream;
  stream.bytes = bytes;
  stream.chunk = chunk;
  return session.instance.component->setState(&stream);
}

std::vector<double> ControllerValues(Session& session)
{
  std::vector<double> values;
  for (ParamID id = 0; id < static_cast<ParamID>(kParamCount); ++id)
    values.push_back(session.instance.controller->getParamNormalized(id));
  values.push_back(session.instance.controller->getParamNormalized(kBypassTag));
  return values;
}

void PutInt(std::vector<char>& bytes, size_t at, int32_t value)
{
  std::memcpy(bytes.data() + at, &value, 4);
}

} // namespace

TEST(TarnwickVst3State, LayoutIsTheChainStateFollowedByTheBypass)
{
  Session session;
  ASSERT_TRUE(session.ok());
  const std::vector<char> state = Save(session);
  ASSERT_EQ(state.size(), 696u);
  EXPECT_EQ(std::string(state.data(), 4), "QTTW");
  int32_t version = 0, count = 0, bypass = -1;
  std::memcpy(&version, state.data() + 4, 4);
  std::memcpy(&count, state.data() + 8, 4);
  std::memcpy(&bypass, state.data() + 692, 4);
  EXPECT_EQ(version, 1);
  EXPECT_EQ(count, 84);
  EXPECT_EQ(bypass, 0);
  // A stream that takes 100 bytes per call still receives all of them.
  MemoryStream pieces;
  pieces.chunk = 100;
  ASSERT_EQ(session.instance.component->getState(&pieces), kOk);
  EXPECT_EQ(pieces.bytes, state);
}

TEST(TarnwickVst3State, RestoresValuesBankRecipeAndBypassIntoAnotherInstance)
{
  Session source, target;
  ASSERT_TRUE(source.ok() && target.ok());
  source.start(48000., kSample32, 512);
  for (ParamID id : {ParamID{0}, ParamID{1}, ParamID{24}, ParamID{63}, ParamID{83}})
    source.send(id, 0.125 + 0.1 * id / 83.);
  source.send(kBypassTag, 1.);
  std::vector<char> state = Save(source);
  // The other bank and the recipe index travel too.
  for (size_t i = 12 + 84 * 4; i < 12 + 84 * 8; i += 4)
    std::memcpy(state.data() + i, state.data() + i - 84 * 4, 4);
  PutInt(state, 684, 7);
  PutInt(state, 688, 1);

  ASSERT_EQ(Load(target, state, 33), kOk);
  EXPECT_EQ(Save(target), state);
  const std::vector<double> values = ControllerValues(target);
  for (ParamID id = 0; id < static_cast<ParamID>(kParamCount); ++id)
  {
    // The controller follows the restored value of every parameter.
    Utf16 shown[128], expected[128];
    ASSERT_EQ(target.instance.controller->getParamStringByValue(id, values[id], shown), kOk);
    ASSERT_EQ(source.instance.controller->getParamStringByValue(id, values[id], expected), kOk);
    EXPECT_EQ(narrow(shown), narrow(expected));
  }
  EXPECT_EQ(values.back(), 1.); // the bypass parameter
  EXPECT_NEAR(values[1], 0.125 + 0.1 / 83., 1e-6);
}

TEST(TarnwickVst3State, MalformedStatesAreRefusedAndChangeNothing)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(48000., kSample32, 512);
  session.send(kParamOutput, 0.3);
  const std::vector<char> good = Save(session);
  session.send(kParamOutput, 0.7);
  session.send(kBypassTag, 1.);
  const std::vector<char> current = Save(session);
  const std::vector<double> controller = ControllerValues(session);

  std::vector<std::pair<std::string, std::vector<char>>> bad;
  bad.push_back({"695 bytes", std::vector<char>(good.begin(), good.end() - 1)});
  std::vector<char> longer = good;
  longer.push_back(0);
  bad.push_back({"697 bytes", longer});
  for (int32_t bypass : {2, -1})
  {
    std::vector<char> wrong = good;
    PutInt(wrong, 692, bypass);
    bad.push_back({"bypass " + std::to_string(bypass), wrong});
  }
  std::vector<char> magic = good;
  magic[3] = 'X';
  bad.push_back({"magic", magic});
  std::vector<char> version = good;
  PutInt(version, 4, 2);
  bad.push_back({"version", version});
  std::vector<char> count = good;
  PutInt(count, 8, 83);
  bad.push_back({"count", count});
  std::vector<char> recipe = good;
  PutInt(recipe, 684, 40);
  bad.push_back({"recipe index", recipe});
  std::vector<char> bank = good;
  PutInt(bank, 688, 2);
  bad.push_back({"active bank", bank});
  bad.push_back({"empty", {}});

  for (const auto& [what, bytes] : bad)
  {
    EXPECT_EQ(Load(session, bytes), kFalse) << what;
    EXPECT_EQ(Save(session), current) << what;
    EXPECT_EQ(ControllerValues(session), controller) << what;
  }
  // A stream that reports success but moves nothing ends the reading instead of spinning.
  EXPECT_EQ(Load(session, good, 0), kFalse);
  EXPECT_EQ(session.instance.component->setState(nullptr), kFalse);
  EXPECT_EQ(Load(session, good), kOk);
  EXPECT_EQ(Save(session), good);
}

TEST(TarnwickVst3State, SavedAndLoadedWhileTheAudioThreadRuns)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(48000., kSample32, 256);
  session.send(kParamOutput, 0.2);
  const std::vector<char> first = Save(session);
  session.send(kParamOutput, 0.6);
  session.send(kBypassTag, 1.);
  const std::vector<char> second = Save(session);

  std::atomic<bool> running{true};
  std::atomic<int> blocks{0};
  std::atomic<bool> allFinite{true};
  std::thread audio([&] {
    while (running.load())
    {
      Block block(kSample32, 256, {2}, {2});
      for (int32_t f = 0; f < 256; ++f)
        block.setInput(0, 0, f, (f % 50) / 50.0 - 0.5);
      if (session.instance.processor->process(block.data()) != kOk || !block.outputsFinite())
        allFinite.store(false);
      blocks.fetch_add(1);
    }
  });
  for (int round = 0; round < 200; ++round)
  {
    const std::vector<char>& bytes = round % 2 ? second : first;
    ASSERT_EQ(Load(session, bytes), kOk);
    const std::vector<char> saved = Save(session);
    EXPECT_EQ(saved, bytes) << round;
  }
  while (blocks.load() < 20)
    std::this_thread::yield();
  running.store(false);
  audio.join();
  EXPECT_TRUE(allFinite.load());
  EXPECT_EQ(Save(session), second);
}
