#pragma once

// The host's own view of the VST3 binary interface, written apart from the plug-in
// side's declarations so that a fault in one is not mirrored in the other. Identifiers
// are the 16 bytes as they lie in memory on Windows; a record's layout is pinned by
// static_assert on its size and field offsets.

#include <array>
#include <cstddef>
#include <cstdint>

#define HOST_CALL __stdcall

namespace vst3host {

using tresult = int32_t;
using ParamID = uint32_t;
using ParamValue = double;
using Arrangement = uint64_t;
using Utf16 = char16_t;

constexpr tresult kOk = 0;
constexpr tresult kFalse = 1;
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);

using Iid = std::array<char, 16>;

constexpr int hexDigit(char c)
{
  return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c - 'a' + 10;
}

// 32 hexadecimal digits, spaces ignored, in memory order.
constexpr Iid iidFromMemoryBytes(const char* text)
{
  Iid bytes{};
  int nibble = 0;
  for (const char* c = text; *c; ++c)
  {
    if (*c == ' ')
      continue;
    const int value = hexDigit(*c);
    bytes[nibble / 2] = static_cast<char>(nibble % 2 == 0 ? value << 4 : (static_cast<unsigned char>(bytes[nibble / 2]) | value));
    ++nibble;
  }
  return bytes;
}

namespace iids {
constexpr Iid FUnknown = iidFromMemoryBytes("00000000 00000000 C0000000 00000046");
constexpr Iid PluginBase = iidFromMemoryBytes("DB8D8822 6E15AE45 8358B348 08190625");
constexpr Iid PluginFactory = iidFromMemoryBytes("1C814D7A 11521F4A AED9D2EE 0B43BF9F");
constexpr Iid PluginFactory2 = iidFromMemoryBytes("50B60700 4BF20B4C A464EDB9 F00B2ABB");
constexpr Iid PluginFactory3 = iidFromMemoryBytes("ABA25545 23C1574E 9B122910 36878931");
constexpr Iid Component = iidFromMemoryBytes("31FF31E8 D5F20143 928EBBEE 25697802");
constexpr Iid AudioProcessor = iidFromMemoryBytes("993F0442 DAB73C45 A569E79D 9AAEC33D");
constexpr Iid ProcessContextRequirements = iidFromMemoryBytes("0343652A 76EF3D4E 95B5FE83 730EF6D0");
constexpr Iid EditController = iidFromMemoryBytes("E3BBD7DC 42778D44 A874AACC 979C759E");
constexpr Iid EditController2 = iidFromMemoryBytes("59FE4E7F 20F36749 AC27A3AE AFB63038");
constexpr Iid ComponentHandler = iidFromMemoryBytes("A3BEA093 D00BDB45 8E890B0C C1E46AC6");
constexpr Iid ComponentHandler2 = iidFromMemoryBytes("B3B440F0 60A3EC45 ABCDC045 B4D5A2CC");
constexpr Iid UnitInfo = iidFromMemoryBytes("B5D64B3D 3A91D24F A886E768 A5EB92C1");
constexpr Iid ConnectionPoint = iidFromMemoryBytes("6F15A470 6E6E2640 989148BF AA60D8D1");
constexpr Iid MidiMapping = iidFromMemoryBytes("F7F90FDF B7496946 B63AB732 7ADBF5E5");
constexpr Iid InfoListener = iidFromMemoryBytes("8147190F 988DDA4A BBA0C1EF C011D8D0");
constexpr Iid PlugView = iidFromMemoryBytes("0725C35B 60D0EA49 A6151B52 2B755B29");
constexpr Iid HostApplication = iidFromMemoryBytes("CC95E558 2DDB6949 8B6AAF8C 36A664E5");
constexpr Iid BStream = iidFromMemoryBytes("A26EBFC3 99305247 9B6BF990 1EE33E9B");
constexpr Iid ParameterChanges = iidFromMemoryBytes("639677A4 B60B564A B44384A8 466FEB9D");
constexpr Iid ParamValueQueue = iidFromMemoryBytes("183A2601 07ED6F4F 98C9D356 4686F9BA");
constexpr Iid EventList = iidFromMemoryBytes("14422C3A 6334FE49 B2C4F397 B9695A44");
constexpr Iid UnitHandler = iidFromMemoryBytes("F847514B 54466B48 8DAB30BA 163A3C56");
constexpr Iid PlugInterfaceSupport = iidFromMemoryBytes("9E8BB54F AA9E0F4E AB361C1C CCB56FEA");
constexpr Iid AudioPresentationLatency = iidFromMemoryBytes("78CE9E30 7DEBAE4F 8B2225D9 09FD08B6");
constexpr Iid PlugFrame = iidFromMemoryBytes("01AF7F36 A9AF9346 8D4DA2A0 ED0882A3");
constexpr Iid PlugViewContentScaleSupport = iidFromMemoryBytes("9096ED65 C48A2545 8AADEF7A 72EA703F");
constexpr Iid ComponentHandler3 = iidFromMemoryBytes("1716F169 6BD20D40 A4B6B964 7B6EBBAB");
constexpr Iid ContextMenu = iidFromMemoryBytes("63C8932E 9C0C8845 97DBECF5 AD17817D");
constexpr Iid ContextMenuTarget = iidFromMemoryBytes("752EDF3C D3854441 BF86D36B D7C4894D");
constexpr Iid AttributeList = iidFromMemoryBytes("EB0A5F1E 7FCC3345 A2544011 38AD5EE4");
} // namespace iids

bool sameIid(const void* bytes, const Iid& iid);

// ---- records -------------------------------------------------------------------------

struct FactoryInfo
{
  char vendor[64];
  char url[256];
  char email[128];
  int32_t flags;
};
static_assert(sizeof(FactoryInfo) == 452 && offsetof(FactoryInfo, flags) == 448);

struct ClassInfo
{
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
};
static_assert(sizeof(ClassInfo) == 116 && offsetof(ClassInfo, name) == 52);

struct ClassInfo2
{
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
  uint32_t classFlags;
  char subCategories[128];
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};
static_assert(sizeof(ClassInfo2) == 440 && offsetof(ClassInfo2, classFlags) == 116 &&
              offsetof(ClassInfo2, subCategories) == 120 && offsetof(ClassInfo2, vendor) == 248 &&
              offsetof(ClassInfo2, version) == 312 && offsetof(ClassInfo2, sdkVersion) == 376);

struct ClassInfoW
{
  char cid[16];
  int32_t cardinality;
  char category[32];
  Utf16 name[64];
  uint32_t classFlags;
  char subCategories[128];
  Utf16 vendor[64];
  Utf16 version[64];
  Utf16 sdkVersion[64];
};
static_assert(sizeof(ClassInfoW) == 696 && offsetof(ClassInfoW, classFlags) == 180 &&
              offsetof(ClassInfoW, subCategories) == 184 && offsetof(ClassInfoW, vendor) == 312 &&
              offsetof(ClassInfoW, version) == 440 && offsetof(ClassInfoW, sdkVersion) == 568);

struct BusInfo
{
  int32_t mediaType;
  int32_t direction;
  int32_t channelCount;
  Utf16 name[128];
  int32_t busType;
  uint32_t flags;
};
static_assert(sizeof(BusInfo) == 276 && offsetof(BusInfo, name) == 12 && offsetof(BusInfo, busType) == 268);

struct ProcessSetup
{
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t maxSamplesPerBlock;
  double sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16);

struct AudioBusBuffers
{
  int32_t numChannels;
  uint64_t silenceFlags;
  void** channelBuffers; // float** or double** by the block's sample size
};
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, channelBuffers) == 16);

struct ProcessContext
{
  uint32_t state;
  double sampleRate;
  int64_t projectTimeSamples;
  int64_t systemTime;
  int64_t continuousTimeSamples;
  double projectTimeMusic;
  double barPositionMusic;
  double cycleStartMusic;
  double cycleEndMusic;
  double tempo;
  int32_t timeSigNumerator;
  int32_t timeSigDenominator;
  int32_t chord; // keyNote, rootNote, chordMask
  int32_t smpteOffsetSubframes;
  uint32_t framesPerSecond;
  uint32_t frameRateFlags;
  int32_t samplesToNextClock;
};
static_assert(sizeof(ProcessContext) == 112 && offsetof(ProcessContext, tempo) == 72 &&
              offsetof(ProcessContext, samplesToNextClock) == 104);

class IParameterChanges;
class IEventList;

struct ProcessData
{
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t numSamples;
  int32_t numInputs;
  int32_t numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24 &&
              offsetof(ProcessData, processContext) == 72);

struct ParameterInfo
{
  ParamID id;
  Utf16 title[128];
  Utf16 shortTitle[128];
  Utf16 units[128];
  int32_t stepCount;
  double defaultNormalizedValue;
  int32_t unitId;
  int32_t flags;
};
static_assert(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 && offsetof(ParameterInfo, flags) == 788);

struct UnitInfo
{
  int32_t id;
  int32_t parentUnitId;
  Utf16 name[128];
  int32_t programListId;
};
static_assert(sizeof(UnitInfo) == 268);

struct Event
{
  int32_t busIndex;
  int32_t sampleOffset;
  double ppqPosition;
  uint16_t flags;
  uint16_t type;
  alignas(8) unsigned char payload[24]; // the union of the event kinds
};
static_assert(sizeof(Event) == 48 && offsetof(Event, payload) == 24);

struct ViewRect
{
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(ViewRect) == 16 && offsetof(ViewRect, bottom) == 12);

struct ContextMenuItem
{
  Utf16 name[128];
  int32_t tag;
  int32_t flags;
};
static_assert(sizeof(ContextMenuItem) == 264 && offsetof(ContextMenuItem, tag) == 256 &&
              offsetof(ContextMenuItem, flags) == 260);

// ---- interfaces ----------------------------------------------------------------------

class FUnknown
{
public:
  virtual tresult HOST_CALL queryInterface(const char* iid, void** obj) = 0;
  virtual uint32_t HOST_CALL addRef() = 0;
  virtual uint32_t HOST_CALL release() = 0;
};

class IPluginBase : public FUnknown
{
public:
  virtual tresult HOST_CALL initialize(FUnknown* context) = 0;
  virtual tresult HOST_CALL terminate() = 0;
};

class IPluginFactory3 : public FUnknown
{
public:
  virtual tresult HOST_CALL getFactoryInfo(FactoryInfo* info) = 0;
  virtual int32_t HOST_CALL countClasses() = 0;
  virtual tresult HOST_CALL getClassInfo(int32_t index, ClassInfo* info) = 0;
  virtual tresult HOST_CALL createInstance(const char* cid, const char* iid, void** obj) = 0;
  virtual tresult HOST_CALL getClassInfo2(int32_t index, ClassInfo2* info) = 0;
  virtual tresult HOST_CALL getClassInfoUnicode(int32_t index, ClassInfoW* info) = 0;
  virtual tresult HOST_CALL setHostContext(FUnknown* context) = 0;
};

class IBStream : public FUnknown
{
public:
  virtual tresult HOST_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) = 0;
  virtual tresult HOST_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) = 0;
  virtual tresult HOST_CALL seek(int64_t pos, int32_t mode, int64_t* result) = 0;
  virtual tresult HOST_CALL tell(int64_t* pos) = 0;
};

class IComponent : public IPluginBase
{
public:
  virtual tresult HOST_CALL getControllerClassId(char* classId) = 0;
  virtual tresult HOST_CALL setIoMode(int32_t mode) = 0;
  virtual int32_t HOST_CALL getBusCount(int32_t type, int32_t dir) = 0;
  virtual tresult HOST_CALL getBusInfo(int32_t type, int32_t dir, int32_t index, BusInfo& bus) = 0;
  virtual tresult HOST_CALL getRoutingInfo(void* inInfo, void* outInfo) = 0;
  virtual tresult HOST_CALL activateBus(int32_t type, int32_t dir, int32_t index, uint8_t state) = 0;
  virtual tresult HOST_CALL setActive(uint8_t state) = 0;
  virtual tresult HOST_CALL setState(IBStream* state) = 0;
  virtual tresult HOST_CALL getState(IBStream* state) = 0;
};

class IAudioProcessor : public FUnknown
{
public:
  virtual tresult HOST_CALL setBusArrangements(Arrangement* inputs, int32_t numIns, Arrangement* outputs,
                                               int32_t numOuts) = 0;
  virtual tresult HOST_CALL getBusArrangement(int32_t dir, int32_t index, Arrangement& arr) = 0;
  virtual tresult HOST_CALL canProcessSampleSize(int32_t symbolicSampleSize) = 0;
  virtual uint32_t HOST_CALL getLatencySamples() = 0;
  virtual tresult HOST_CALL setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult HOST_CALL setProcessing(uint8_t state) = 0;
  virtual tresult HOST_CALL process(ProcessData& data) = 0;
  virtual uint32_t HOST_CALL getTailSamples() = 0;
};

class IProcessContextRequirements : public FUnknown
{
public:
  virtual uint32_t HOST_CALL getProcessContextRequirements() = 0;
};

class IComponentHandler : public FUnknown
{
public:
  virtual tresult HOST_CALL beginEdit(ParamID id) = 0;
  virtual tresult HOST_CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult HOST_CALL endEdit(ParamID id) = 0;
  virtual tresult HOST_CALL restartComponent(int32_t flags) = 0;
};

class IComponentHandler2 : public FUnknown
{
public:
  virtual tresult HOST_CALL setDirty(uint8_t state) = 0;
  virtual tresult HOST_CALL requestOpenEditor(const char* name) = 0;
  virtual tresult HOST_CALL startGroupEdit() = 0;
  virtual tresult HOST_CALL finishGroupEdit() = 0;
};

class IPlugFrame;

class IPlugView : public FUnknown
{
public:
  virtual tresult HOST_CALL isPlatformTypeSupported(const char* type) = 0;
  virtual tresult HOST_CALL attached(void* parent, const char* type) = 0;
  virtual tresult HOST_CALL removed() = 0;
  virtual tresult HOST_CALL onWheel(float distance) = 0;
  virtual tresult HOST_CALL onKeyDown(Utf16 key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult HOST_CALL onKeyUp(Utf16 key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult HOST_CALL getSize(ViewRect* size) = 0;
  virtual tresult HOST_CALL onSize(ViewRect* newSize) = 0;
  virtual tresult HOST_CALL onFocus(uint8_t state) = 0;
  virtual tresult HOST_CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult HOST_CALL canResize() = 0;
  virtual tresult HOST_CALL checkSizeConstraint(ViewRect* rect) = 0;
};

class IPlugFrame : public FUnknown
{
public:
  virtual tresult HOST_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

class IPlugViewContentScaleSupport : public FUnknown
{
public:
  virtual tresult HOST_CALL setContentScaleFactor(float factor) = 0;
};

class IContextMenuTarget : public FUnknown
{
public:
  virtual tresult HOST_CALL executeMenuItem(int32_t tag) = 0;
};

class IContextMenu : public FUnknown
{
public:
  virtual int32_t HOST_CALL getItemCount() = 0;
  virtual tresult HOST_CALL getItem(int32_t index, ContextMenuItem& item, IContextMenuTarget** target) = 0;
  virtual tresult HOST_CALL addItem(const ContextMenuItem& item, IContextMenuTarget* target) = 0;
  virtual tresult HOST_CALL removeItem(const ContextMenuItem& item, IContextMenuTarget* target) = 0;
  virtual tresult HOST_CALL popup(int32_t x, int32_t y) = 0;
};

class IComponentHandler3 : public FUnknown
{
public:
  virtual IContextMenu* HOST_CALL createContextMenu(IPlugView* view, const ParamID* paramId) = 0;
};

class IAttributeList : public FUnknown
{
public:
  virtual tresult HOST_CALL setInt(const char* id, int64_t value) = 0;
  virtual tresult HOST_CALL getInt(const char* id, int64_t& value) = 0;
  virtual tresult HOST_CALL setFloat(const char* id, double value) = 0;
  virtual tresult HOST_CALL getFloat(const char* id, double& value) = 0;
  virtual tresult HOST_CALL setString(const char* id, const Utf16* string) = 0;
  virtual tresult HOST_CALL getString(const char* id, Utf16* string, uint32_t sizeInBytes) = 0;
  virtual tresult HOST_CALL setBinary(const char* id, const void* data, uint32_t sizeInBytes) = 0;
  virtual tresult HOST_CALL getBinary(const char* id, const void*& data, uint32_t& sizeInBytes) = 0;
};

class IInfoListener : public FUnknown
{
public:
  virtual tresult HOST_CALL setChannelContextInfos(IAttributeList* list) = 0;
};

class IEditController : public IPluginBase
{
public:
  virtual tresult HOST_CALL setComponentState(IBStream* state) = 0;
  virtual tresult HOST_CALL setState(IBStream* state) = 0;
  virtual tresult HOST_CALL getState(IBStream* state) = 0;
  virtual int32_t HOST_CALL getParameterCount() = 0;
  virtual tresult HOST_CALL getParameterInfo(int32_t paramIndex, ParameterInfo& info) = 0;
  virtual tresult HOST_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized, Utf16* string) = 0;
  virtual tresult HOST_CALL getParamValueByString(ParamID id, Utf16* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue HOST_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue HOST_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue HOST_CALL getParamNormalized(ParamID id) = 0;
  virtual tresult HOST_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult HOST_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* HOST_CALL createView(const char* name) = 0;
};

class IEditController2 : public FUnknown
{
public:
  virtual tresult HOST_CALL setKnobMode(int32_t mode) = 0;
  virtual tresult HOST_CALL openHelp(uint8_t onlyCheck) = 0;
  virtual tresult HOST_CALL openAboutBox(uint8_t onlyCheck) = 0;
};

class IUnitInfo : public FUnknown
{
public:
  virtual int32_t HOST_CALL getUnitCount() = 0;
  virtual tresult HOST_CALL getUnitInfo(int32_t unitIndex, UnitInfo& info) = 0;
  virtual int32_t HOST_CALL getProgramListCount() = 0;
  // The remaining slots are not called by this host.
};

class IHostApplication : public FUnknown
{
public:
  virtual tresult HOST_CALL getName(Utf16* name) = 0;
  virtual tresult HOST_CALL createInstance(char* cid, char* iid, void** obj) = 0;
};

class IParamValueQueue : public FUnknown
{
public:
  virtual ParamID HOST_CALL getParameterId() = 0;
  virtual int32_t HOST_CALL getPointCount() = 0;
  virtual tresult HOST_CALL getPoint(int32_t index, int32_t& sampleOffset, ParamValue& value) = 0;
  virtual tresult HOST_CALL addPoint(int32_t sampleOffset, ParamValue value, int32_t& index) = 0;
};

class IParameterChanges : public FUnknown
{
public:
  virtual int32_t HOST_CALL getParameterCount() = 0;
  virtual IParamValueQueue* HOST_CALL getParameterData(int32_t index) = 0;
  virtual IParamValueQueue* HOST_CALL addParameterData(const ParamID& id, int32_t& index) = 0;
};

class IEventList : public FUnknown
{
public:
  virtual int32_t HOST_CALL getEventCount() = 0;
  virtual tresult HOST_CALL getEvent(int32_t index, Event& e) = 0;
  virtual tresult HOST_CALL addEvent(Event& e) = 0;
};

// Constants the host uses.
constexpr int32_t kAudio = 0, kEvent = 1, kInput = 0, kOutput = 1, kMainBus = 0, kAuxBus = 1;
constexpr int32_t kSample32 = 0, kSample64 = 1, kRealtime = 0, kOffline = 2;
constexpr Arrangement kMono = 0x80000, kStereo = 0x3;
constexpr uint32_t kDefaultActive = 1;
constexpr int32_t kFactoryUnicode = 16;
constexpr int32_t kManyInstances = 0x7FFFFFFF;
constexpr int32_t kLatencyChanged = 8;

} // namespace vst3host
