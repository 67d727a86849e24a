#include "HostObjects.h"

#include <algorithm>
#include <cstring>

namespace vst3host {

bool sameIid(const void* bytes, const Iid& iid)
{
  return bytes && std::memcmp(bytes, iid.data(), iid.size()) == 0;
}

tresult HOST_CALL HostApplication::getName(Utf16* name)
{
  const char16_t text[] = u"Harness Host";
  std::memcpy(name, text, sizeof(text));
  return kOk;
}

tresult HOST_CALL HostApplication::createInstance(char*, char*, void** obj)
{
  if (obj)
    *obj = nullptr;
  return kNoInterface;
}

tresult HOST_CALL ComponentHandler::beginEdit(ParamID id)
{
  calls.push_back("begin " + std::to_string(id));
  return kOk;
}

tresult HOST_CALL ComponentHandler::performEdit(ParamID id, ParamValue value)
{
  calls.push_back("perform " + std::to_string(id) + " " + std::to_string(value));
  return kOk;
}

tresult HOST_CALL ComponentHandler::endEdit(ParamID id)
{
  calls.push_back("end " + std::to_string(id));
  return kOk;
}

tresult HOST_CALL ComponentHandler::restartComponent(int32_t flags)
{
  ++restarts;
  calls.push_back("restart " + std::to_string(flags));
  return kOk;
}

tresult HOST_CALL MemoryStream::read(void* buffer, int32_t numBytes, int32_t* numBytesRead)
{
  if (!buffer || numBytes < 0)
    return kInvalidArgument;
  const int64_t available = std::max<int64_t>(0, static_cast<int64_t>(bytes.size()) - position);
  const int32_t count = static_cast<int32_t>(std::min<int64_t>({numBytes, available, chunk}));
  if (count > 0)
    std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(count));
  position += count;
  if (numBytesRead)
    *numBytesRead = count;
  return count > 0 || numBytes == 0 ? kOk : kFalse;
}

tresult HOST_CALL MemoryStream::write(void* buffer, int32_t numBytes, int32_t* numBytesWritten)
{
  if (numBytesWritten)
    *numBytesWritten = 0;
  if (failWrites)
    return kFalse;
  if (!buffer || numBytes < 0)
    return kInvalidArgument;
  const int32_t count = std::min(numBytes, chunk);
  if (bytes.size() < static_cast<size_t>(position + count))
    bytes.resize(static_cast<size_t>(position + count));
  std::memcpy(bytes.data() + position, buffer, static_cast<size_t>(count));
  position += count;
  if (numBytesWritten)
    *numBytesWritten = count;
  return kOk;
}

tresult HOST_CALL MemoryStream::seek(int64_t pos, int32_t mode, int64_t* result)
{
  const int64_t base = mode == 0 ? 0 : mode == 1 ? position : mode == 2 ? static_cast<int64_t>(bytes.size()) : -1;
  if (base < 0 || base + pos < 0)
    return kInvalidArgument;
  position = base + pos;
  if (result)
    *result = position;
  return kOk;
}

tresult HOST_CALL MemoryStream::tell(int64_t* pos)
{
  if (!pos)
    return kInvalidArgument;
  *pos = position;
  return kOk;
}

tresult HOST_CALL ParamValueQueue::getPoint(int32_t index, int32_t& sampleOffset, ParamValue& value)
{
  if (index < 0 || index >= static_cast<int32_t>(points.size()))
    return kFalse;
  sampleOffset = points[static_cast<size_t>(index)].offset;
  value = points[static_cast<size_t>(index)].value;
  return kOk;
}

tresult HOST_CALL ParamValueQueue::addPoint(int32_t sampleOffset, ParamValue value, int32_t& index)
{
  points.push_back({sampleOffset, value});
  index = static_cast<int32_t>(points.size()) - 1;
  return kOk;
}

ParameterChanges::~ParameterChanges()
{
  for (ParamValueQueue* queue : queues)
    delete queue;
}

void ParameterChanges::add(ParamID id, int32_t offset, ParamValue value)
{
  int32_t index = 0;
  IParamValueQueue* queue = addParameterData(id, index);
  int32_t pointIndex = 0;
  queue->addPoint(offset, value, pointIndex);
}

IParamValueQueue* HOST_CALL ParameterChanges::getParameterData(int32_t index)
{
  return index >= 0 && index < static_cast<int32_t>(queues.size()) ? queues[static_cast<size_t>(index)] : nullptr;
}

IParamValueQueue* HOST_CALL ParameterChanges::addParameterData(const ParamID& id, int32_t& index)
{
  for (size_t i = 0; i < queues.size(); ++i)
    if (queues[i]->id == id)
    {
      index = static_cast<int32_t>(i);
      return queues[i];
    }
  ParamValueQueue* queue = new ParamValueQueue;
  queue->id = id;
  queues.push_back(queue);
  index = static_cast<int32_t>(queues.size()) - 1;
  return queue;
}

tresult HOST_CALL EventList::getEvent(int32_t index, Event& e)
{
  if (index < 0 || index >= static_cast<int32_t>(events.size()))
    return kInvalidArgument;
  e = events[static_cast<size_t>(index)];
  return kOk;
}

tresult HOST_CALL EventList::addEvent(Event& e)
{
  events.push_back(e);
  return kOk;
}

} // namespace vst3host
