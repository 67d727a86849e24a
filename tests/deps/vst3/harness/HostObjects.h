#pragma once

// The host side of the harness: the objects a VST3 host hands to a plug-in. Each keeps
// a reference count that the tests read, so a plug-in that leaks or over-releases them
// is caught.

#include "HostAbi.h"

#include <string>
#include <vector>

namespace vst3host {

// Counts references and answers FUnknown plus one interface, returning `face`.
template <class Interface>
class HostObject : public Interface
{
public:
  int references = 1;
  tresult HOST_CALL queryInterface(const char* iid, void** obj) override
  {
    if (obj && (sameIid(iid, iids::FUnknown) || sameIid(iid, ownIid())))
    {
      ++references;
      *obj = static_cast<Interface*>(this);
      return kOk;
    }
    if (obj)
      *obj = nullptr;
    return kNoInterface;
  }
  uint32_t HOST_CALL addRef() override { return static_cast<uint32_t>(++references); }
  uint32_t HOST_CALL release() override { return static_cast<uint32_t>(--references); }

protected:
  virtual const Iid& ownIid() const = 0;
};

class HostApplication : public HostObject<IHostApplication>
{
public:
  tresult HOST_CALL getName(Utf16* name) override;
  tresult HOST_CALL createInstance(char* cid, char* iid, void** obj) override;

protected:
  const Iid& ownIid() const override { return iids::HostApplication; }
};

class ComponentHandler : public HostObject<IComponentHandler>
{
public:
  std::vector<std::string> calls;
  int restarts = 0;
  tresult HOST_CALL beginEdit(ParamID id) override;
  tresult HOST_CALL performEdit(ParamID id, ParamValue valueNormalized) override;
  tresult HOST_CALL endEdit(ParamID id) override;
  tresult HOST_CALL restartComponent(int32_t flags) override;

protected:
  const Iid& ownIid() const override { return iids::ComponentHandler; }
};

// A byte stream in memory. It can move at most `chunk` bytes per call, as some hosts'
// streams do, and can be told to fail every write.
class MemoryStream : public HostObject<IBStream>
{
public:
  std::vector<char> bytes;
  int64_t position = 0;
  int32_t chunk = 0x7FFFFFFF;
  bool failWrites = false;

  tresult HOST_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) override;
  tresult HOST_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) override;
  tresult HOST_CALL seek(int64_t pos, int32_t mode, int64_t* result) override;
  tresult HOST_CALL tell(int64_t* pos) override;

protected:
  const Iid& ownIid() const override { return iids::BStream; }
};

class ParamValueQueue final : public HostObject<IParamValueQueue>
{
public:
  struct Point
  {
    int32_t offset;
    ParamValue value;
  };
  ParamID id = 0;
  std::vector<Point> points;

  ParamID HOST_CALL getParameterId() override { return id; }
  int32_t HOST_CALL getPointCount() override { return static_cast<int32_t>(points.size()); }
  tresult HOST_CALL getPoint(int32_t index, int32_t& sampleOffset, ParamValue& value) override;
  tresult HOST_CALL addPoint(int32_t sampleOffset, ParamValue value, int32_t& index) override;

protected:
  const Iid& ownIid() const override { return iids::ParamValueQueue; }
};

class ParameterChanges : public HostObject<IParameterChanges>
{
public:
  ~ParameterChanges();
  // Adds one change: a queue for the parameter when none exists, then the point.
  void add(ParamID id, int32_t offset, ParamValue value);

  int32_t HOST_CALL getParameterCount() override { return static_cast<int32_t>(queues.size()); }
  IParamValueQueue* HOST_CALL getParameterData(int32_t index) override;
  IParamValueQueue* HOST_CALL addParameterData(const ParamID& id, int32_t& index) override;

protected:
  const Iid& ownIid() const override { return iids::ParameterChanges; }

private:
  std::vector<ParamValueQueue*> queues;
};

class EventList : public HostObject<IEventList>
{
public:
  std::vector<Event> events;
  int32_t HOST_CALL getEventCount() override { return static_cast<int32_t>(events.size()); }
  tresult HOST_CALL getEvent(int32_t index, Event& e) override;
  tresult HOST_CALL addEvent(Event& e) override;

protected:
  const Iid& ownIid() const override { return iids::EventList; }
};

} // namespace vst3host
