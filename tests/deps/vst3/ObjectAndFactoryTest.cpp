#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/helpers/PluginFactory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Steinberg;

namespace {

int gLiveObjects = 0;

class Counted : public FObject
{
public:
  Counted() { ++gLiveObjects; }
  VST3_OBJECT_TYPE(Counted, FObject)

protected:
  ~Counted() override { --gLiveObjects; }
};

class CountedChild : public Counted
{
public:
  VST3_OBJECT_TYPE(CountedChild, Counted)
};

FUnknown* createCounted(void*)
{
  return (new Counted)->unknown();
}

FUnknown* createNothing(void*)
{
  return nullptr;
}

FUnknown* createThrowing(void*)
{
  throw std::runtime_error("construction failed");
}

const PFactoryInfo kFactoryInfo = {"Vendor", "https://example.invalid", "mail@example.invalid",
                                   PFactoryInfo::kUnicode};

PClassInfo2 classInfo(uint32 lastWord, const char* name)
{
  PClassInfo2 info{};
  writeUid(info.cid, 0x11111111, 0x22222222, 0x33333333, lastWord);
  info.cardinality = PClassInfo::kManyInstances;
  std::strcpy(info.category, Vst::kVstAudioEffectClass);
  std::strcpy(info.name, name);
  info.classFlags = Vst::kSimpleModeSupported;
  std::strcpy(info.subCategories, "Fx|Distortion");
  std::strcpy(info.version, "0.1.0");
  std::strcpy(info.sdkVersion, "VST 3.8.1");
  return info;
}

CPluginFactory* newFactory()
{
  // The public way to build one: the module factory, released by each test.
  return CPluginFactory::acquireModuleFactory(kFactoryInfo, [](CPluginFactory& factory) {
    const PClassInfo2 counted = classInfo(1, "Counted \xE9");
    const PClassInfo2 nothing = classInfo(2, "Nothing");
    const PClassInfo2 throwing = classInfo(3, "Throwing");
    return factory.registerClass(&counted, createCounted) && factory.registerClass(&nothing, createNothing) &&
           factory.registerClass(&throwing, createThrowing);
  });
}

} // namespace

TEST(FObject, CountsReferencesAndDeletesAtZero)
{
  Counted* object = new Counted;
  EXPECT_EQ(gLiveObjects, 1);
  EXPECT_EQ(object->addRef(), 2u);
  EXPECT_EQ(object->release(), 1u);
  EXPECT_EQ(object->release(), 0u);
  EXPECT_EQ(gLiveObjects, 0);
}

TEST(FObject, AnswersUnknownAndDependentAndRefusesOthers)
{
  Counted* object = new Counted;
  void* face = nullptr;
  ASSERT_EQ(object->queryInterface(FUnknown::iid, &face), kResultOk);
  EXPECT_EQ(face, object->unknown());
  EXPECT_EQ(object->getRefCount(), 2u);
  ASSERT_EQ(object->queryInterface(IDependent::iid, &face), kResultOk);
  static_cast<IDependent*>(face)->update(nullptr, IDependent::kChanged);
  EXPECT_EQ(object->getRefCount(), 3u);
  face = object;
  EXPECT_EQ(object->queryInterface(IPluginBase::iid, &face), kNoInterface);
  EXPECT_EQ(face, nullptr);
  EXPECT_EQ(object->queryInterface(FUnknown::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(object->getRefCount(), 3u);
  object->release();
  object->release();
  object->release();
  EXPECT_EQ(gLiveObjects, 0);
}

TEST(FObject, NamesItsClassChain)
{
  CountedChild* object = new CountedChild;
  EXPECT_STREQ(object->isA(), "CountedChild");
  EXPECT_TRUE(object->isTypeOf("CountedChild", false));
  EXPECT_FALSE(object->isTypeOf("Counted", false));
  EXPECT_TRUE(object->isTypeOf("Counted"));
  EXPECT_TRUE(object->isTypeOf("FObject"));
  EXPECT_FALSE(object->isTypeOf("Other"));
  EXPECT_FALSE(object->isTypeOf(nullptr));
  object->release();
}

TEST(PluginFactory, DescribesItselfAndItsClasses)
{
  CPluginFactory* factory = newFactory();
  ASSERT_NE(factory, nullptr);
  PFactoryInfo info{};
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_EQ(std::memcmp(&info, &kFactoryInfo, sizeof(info)), 0);
  EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);
  EXPECT_EQ(factory->countClasses(), 3);

  PClassInfo2 second{};
  ASSERT_EQ(factory->getClassInfo2(1, &second), kResultOk);
  const PClassInfo2 expected = classInfo(2, "Nothing");
  EXPECT_EQ(std::memcmp(&second, &expected, sizeof(second)), 0);
  PClassInfo first{};
  ASSERT_EQ(factory->getClassInfo(0, &first), kResultOk);
  EXPECT_STREQ(first.name, "Counted \xE9");
  EXPECT_EQ(first.cardinality, PClassInfo::kManyInstances);

  for (int32 bad : {-1, 3, 1000})
  {
    EXPECT_EQ(factory->getClassInfo(bad, &first), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfo2(bad, &second), kInvalidArgument);
  }
  EXPECT_EQ(factory->getClassInfo(0, nullptr), kInvalidArgument);
  EXPECT_EQ(factory->setHostContext(nullptr), kNotImplemented);
  EXPECT_EQ(factory->release(), 0u);
}

TEST(PluginFactory, WidensClassTextsForUnicodeHosts)
{
  CPluginFactory* factory = newFactory();
  ASSERT_NE(factory, nullptr);
  PClassInfoW wide;
  std::memset(&wide, 0x5A, sizeof(wide));
  ASSERT_EQ(factory->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(std::u16string(wide.name), u"Counted \u00E9");
  EXPECT_EQ(wide.name[63], 0); // zero-filled to the end
  EXPECT_EQ(std::u16string(wide.version), u"0.1.0");
  EXPECT_EQ(std::u16string(wide.sdkVersion), u"VST 3.8.1");
  EXPECT_EQ(std::u16string(wide.vendor), u"");
  EXPECT_STREQ(wide.category, "Audio Module Class");
  EXPECT_STREQ(wide.subCategories, "Fx|Distortion");
  EXPECT_EQ(wide.classFlags, 2u);
  const PClassInfo2 expected = classInfo(1, "");
  EXPECT_EQ(std::memcmp(wide.cid, expected.cid, 16), 0);
  EXPECT_EQ(factory->getClassInfoUnicode(3, &wide), kInvalidArgument);
  factory->release();
}

TEST(PluginFactory, CreatesObjectsOwnedByTheCaller)
{
  CPluginFactory* factory = newFactory();
  ASSERT_NE(factory, nullptr);
  const PClassInfo2 counted = classInfo(1, "");
  void* object = nullptr;
  ASSERT_EQ(factory->createInstance(counted.cid, FUnknown::iid, &object), kResultOk);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(gLiveObjects, 1);
  EXPECT_EQ(static_cast<FUnknown*>(object)->release(), 0u); // the caller held the only reference
  EXPECT_EQ(gLiveObjects, 0);

  // An object that does not know the interface is destroyed again.
  object = &object;
  EXPECT_EQ(factory->createInstance(counted.cid, IPluginBase::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(gLiveObjects, 0);

  TUID unknownClass;
  writeUid(unknownClass, 9, 9, 9, 9);
  object = &object;
  EXPECT_EQ(factory->createInstance(unknownClass, FUnknown::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  const PClassInfo2 nothing = classInfo(2, "");
  EXPECT_EQ(factory->createInstance(nothing.cid, FUnknown::iid, &object), kNoInterface);
  const PClassInfo2 throwing = classInfo(3, "");
  EXPECT_EQ(factory->createInstance(throwing.cid, FUnknown::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory->createInstance(nullptr, FUnknown::iid, &object), kInvalidArgument);
  EXPECT_EQ(factory->createInstance(counted.cid, FUnknown::iid, nullptr), kInvalidArgument);
  factory->release();
}

TEST(PluginFactory, AnswersItsThreeInterfacesWithOnePointer)
{
  CPluginFactory* factory = newFactory();
  ASSERT_NE(factory, nullptr);
  for (const char* iid : {FUnknown::iid, IPluginFactory::iid, IPluginFactory2::iid, IPluginFactory3::iid})
  {
    void* face = nullptr;
    ASSERT_EQ(factory->queryInterface(iid, &face), kResultOk);
    EXPECT_EQ(face, static_cast<IPluginFactory3*>(factory));
    static_cast<FUnknown*>(face)->release();
  }
  void* face = factory;
  EXPECT_EQ(factory->queryInterface(IPluginBase::iid, &face), kNoInterface);
  EXPECT_EQ(face, nullptr);
  EXPECT_EQ(factory->release(), 0u);
}

TEST(PluginFactory, ModuleFactoryIsSharedWhileAliveAndRebuiltAfterRelease)
{
  CPluginFactory* first = newFactory();
  CPluginFactory* again = newFactory();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, again);
  EXPECT_EQ(first->countClasses(), 3); // registered once
  EXPECT_EQ(again->release(), 1u);
  EXPECT_EQ(first->release(), 0u);

  // A host that scans, releases and asks again gets a working factory, never the old one.
  CPluginFactory* rebuilt = newFactory();
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_EQ(rebuilt->countClasses(), 3);
  EXPECT_EQ(rebuilt->release(), 0u);

  EXPECT_EQ(CPluginFactory::acquireModuleFactory(kFactoryInfo, [](CPluginFactory&) { return false; }), nullptr);
}

TEST(PluginFactory, ModuleFactorySurvivesHostsOnSeveralThreads)
{
  // Threads that acquire and release all the time: none may get a dying factory.
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&failures] {
      for (int i = 0; i < 2000; ++i)
      {
        CPluginFactory* factory = newFactory();
        if (!factory || factory->countClasses() != 3)
          ++failures;
        if (factory)
          factory->release();
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(failures.load(), 0);
}
