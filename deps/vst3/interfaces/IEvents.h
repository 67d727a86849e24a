#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg::Vst {

struct NoteOnEvent
{
  int16 channel;
  int16 pitch; // MIDI note number; 69 is A at 440 Hz
  float tuning; // cents
  float velocity; // 0 ... 1
  int32 length; // samples
  int32 noteId; // -1: none
};

struct NoteOffEvent
{
  int16 channel;
  int16 pitch;
  float velocity;
  int32 noteId;
  float tuning;
};

struct DataEvent
{
  enum DataTypes : uint32
  {
    kMidiSysEx = 0,
  };
  uint32 size;
  uint32 type;
  const uint8* bytes;
};

struct PolyPressureEvent
{
  int16 channel;
  int16 pitch;
  float pressure; // 0 ... 1
  int32 noteId;
};

struct NoteExpressionValueEvent
{
  uint32 typeId;
  int32 noteId;
  double value;
};

struct NoteExpressionTextEvent
{
  uint32 typeId;
  int32 noteId;
  uint32 textLen;
  const TChar* text;
};

struct ChordEvent
{
  int16 root;
  int16 bassNote;
  int16 mask;
  uint16 textLen;
  const TChar* text;
};

struct ScaleEvent
{
  int16 root;
  int16 mask;
  uint16 textLen;
  const TChar* text;
};

struct LegacyMIDICCOutEvent
{
  uint8 controlNumber;
  int8 channel;
  int8 value;
  int8 value2;
};

struct Event
{
  enum EventFlags : uint16
  {
    kIsLive = 1u << 0,
    kUserReserved1 = 1u << 14,
    kUserReserved2 = 1u << 15,
  };
  enum EventTypes : uint16
  {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kNoteExpressionValueEvent = 4,
    kNoteExpressionTextEvent = 5,
    kChordEvent = 6,
    kScaleEvent = 7,
    kLegacyMIDICCOutEvent = 65535,
  };
  int32 busIndex;
  int32 sampleOffset;
  TQuarterNotes ppqPosition;
  uint16 flags;
  uint16 type;
  union
  {
    NoteOnEvent noteOn;
    NoteOffEvent noteOff;
    DataEvent data;
    PolyPressureEvent polyPressure;
    NoteExpressionValueEvent noteExpressionValue;
    NoteExpressionTextEvent noteExpressionText;
    ChordEvent chord;
    ScaleEvent scale;
    LegacyMIDICCOutEvent midiCCOut;
  };
};

static_assert(sizeof(NoteOnEvent) == 20 && alignof(NoteOnEvent) == 4 && alignof(DataEvent) == 8 && sizeof(NoteOffEvent) == 16 && sizeof(DataEvent) == 16 &&
              sizeof(PolyPressureEvent) == 12 && sizeof(NoteExpressionValueEvent) == 16 &&
              sizeof(NoteExpressionTextEvent) == 24 && sizeof(ChordEvent) == 16 && sizeof(ScaleEvent) == 16 &&
              sizeof(LegacyMIDICCOutEvent) == 4 && alignof(LegacyMIDICCOutEvent) == 1);
static_assert(sizeof(Event) == 48 && alignof(Event) == 8);
static_assert(offsetof(Event, sampleOffset) == 4 && offsetof(Event, ppqPosition) == 8 &&
              offsetof(Event, flags) == 16 && offsetof(Event, type) == 18 && offsetof(Event, noteOn) == 24);
static_assert(offsetof(NoteOnEvent, velocity) == 8 && offsetof(NoteOnEvent, noteId) == 16 &&
              offsetof(NoteOffEvent, tuning) == 12 && offsetof(DataEvent, bytes) == 8 &&
              offsetof(NoteExpressionTextEvent, text) == 16 && offsetof(ChordEvent, text) == 8 &&
              offsetof(ScaleEvent, text) == 8);

// MIDI controller numbers beyond the 128 control changes.
enum ControllerNumbers : CtrlNumber
{
  kCtrlModWheel = 1,
  kCtrlVolume = 7,
  kCtrlPan = 10,
  kCtrlExpression = 11,
  kCtrlSustainOnOff = 64,
  kCtrlAllNotesOff = 123,
  kAfterTouch = 128,
  kPitchBend = 129,
  kCountCtrlNumber = 130,
  kCtrlProgramChange = 130,
  kCtrlPolyPressure = 131,
  kCtrlQuarterFrame = 132,
};

class IEventList : public FUnknown
{
public:
  virtual int32 VST3_CALL getEventCount() = 0;
  virtual tresult VST3_CALL getEvent(int32 index, Event& e) = 0;
  virtual tresult VST3_CALL addEvent(Event& e) = 0;
  VST3_INTERFACE_ID(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
};

} // namespace Steinberg::Vst
