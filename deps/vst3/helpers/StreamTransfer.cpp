#include "deps/vst3/helpers/StreamTransfer.h"

namespace Steinberg {

bool writeAll(IBStream* stream, const void* bytes, int32 size)
{
  // The interface takes a non-const buffer, but a write only reads it.
  char* data = static_cast<char*>(const_cast<void*>(bytes));
  for (int32 offset = 0; offset < size;)
  {
    int32 written = 0;
    const int32 left = size - offset;
    if (stream->write(data + offset, left, &written) != kResultOk || written < 1 || written > left)
      return false;
    offset += written;
  }
  return true;
}

bool readWhole(IBStream* stream, void* bytes, int32 size)
{
  char* data = static_cast<char*>(bytes);
  for (int32 offset = 0; offset < size;)
  {
    int32 read = 0;
    const int32 left = size - offset;
    if (stream->read(data + offset, left, &read) != kResultOk || read < 1 || read > left)
      return false;
    offset += read;
  }
  char extra = 0;
  int32 extraRead = 0;
  const tresult more = stream->read(&extra, 1, &extraRead);
  return (more == kResultOk || more == kResultFalse) && extraRead == 0;
}

} // namespace Steinberg
