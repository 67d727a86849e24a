#include "GrowString.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace pfw {

namespace {
constexpr int kStringGranularity = 128;

bool PointsInto(const char* text, const char* data, int size)
{
  return data && text >= data && text < data + size;
}
} // namespace

GrowString::GrowString(const char* text)
  : mBuffer(kStringGranularity)
{
  if (text)
    Set(text);
}

GrowString::GrowString(const GrowString& other)
  : mBuffer(kStringGranularity)
{
  Assign(other);
}

GrowString& GrowString::operator=(const GrowString& other)
{
  if (this != &other)
    Assign(other);
  return *this;
}

const char* GrowString::Get() const
{
  const char* data = static_cast<const char*>(mBuffer.Data());
  return data ? data : "";
}

int GrowString::GetLength() const
{
  return mBuffer.Size() > 0 ? mBuffer.Size() - 1 : 0;
}

bool GrowString::Set(const char* text, int maxLength)
{
  if (!text)
    text = "";
  int length = static_cast<int>(std::strlen(text));
  if (maxLength > 0 && length > maxLength)
    length = maxLength;

  // A source inside this string moves with the storage, so keep it as an offset.
  const char* data = static_cast<const char*>(mBuffer.Data());
  const bool inside = PointsInto(text, data, mBuffer.Size());
  const std::ptrdiff_t offset = inside ? text - data : 0;

  const int oldSize = mBuffer.Size();
  char* grown = static_cast<char*>(mBuffer.Resize(length + 1 > oldSize ? length + 1 : oldSize, false));
  if (!grown || mBuffer.Size() < length + 1)
    return false;
  if (inside)
    text = grown + offset;
  std::memmove(grown, text, static_cast<size_t>(length));
  grown[length] = '\0';
  mBuffer.Resize(length + 1, false);
  return true;
}

bool GrowString::Append(const char* text, int maxLength)
{
  if (!text)
    return true;
  int length = static_cast<int>(std::strlen(text));
  if (maxLength > 0 && length > maxLength)
    length = maxLength;
  return Insert(GetLength(), text, length);
}

void GrowString::Assign(const GrowString& other)
{
  if (this == &other)
    return;
  const int size = other.mBuffer.Size();
  void* data = mBuffer.Resize(size, true);
  if (mBuffer.Size() != size)
  {
    mBuffer.Resize(0, true);
    return;
  }
  if (size > 0)
    std::memcpy(data, other.mBuffer.Data(), static_cast<size_t>(size));
}

bool GrowString::FormatAt(int offset, int maxLength, const char* format, va_list args)
{
  // The text is formatted aside before this string is touched: an argument may be this
  // string's own text, which resizing could move and formatting in place would overwrite.
  char onStack[256];
  ByteBuffer onHeap(kStringGranularity);
  char* formatted = onStack;
  va_list first;
  va_copy(first, args);
  const int needed = std::vsnprintf(onStack, sizeof(onStack), format, first);
  va_end(first);
  int length = needed < 0 ? 0 : needed;
  if (maxLength > 0)
    length = std::min(length, maxLength);
  if (length >= static_cast<int>(sizeof(onStack)))
  {
    formatted = static_cast<char*>(onHeap.Resize(length + 1, false));
    if (!formatted || onHeap.Size() != length + 1)
      return false;
    std::vsnprintf(formatted, static_cast<size_t>(length) + 1, format, args);
  }
  if (maxLength <= 0)
    maxLength = length;

  const int capacity = offset + maxLength + 1;
  char* data = static_cast<char*>(mBuffer.Resize(capacity, false));
  if (!data || mBuffer.Size() != capacity)
    return false;
  std::memcpy(data + offset, formatted, static_cast<size_t>(length));
  data[offset + length] = '\0';
  mBuffer.Resize(offset + length + 1, false);
  return needed >= 0;
}

bool GrowString::SetFormatted(int maxLength, const char* format, ...)
{
  va_list args;
  va_start(args, format);
  const bool ok = FormatAt(0, maxLength, format, args);
  va_end(args);
  return ok;
}

bool GrowString::AppendFormatted(int maxLength, const char* format, ...)
{
  va_list args;
  va_start(args, format);
  const bool ok = FormatAt(GetLength(), maxLength, format, args);
  va_end(args);
  return ok;
}

bool GrowString::Insert(int position, const char* bytes, int count)
{
  const int length = GetLength();
  if (position < 0 || position > length || count < 0 || !bytes)
    return false;
  if (count == 0)
    return true;

  // Bytes from inside this string could move or be freed by the resize, or overlap
  // the tail that shifts up: copy them aside first.
  ByteBuffer copied(kStringGranularity);
  if (PointsInto(bytes, static_cast<const char*>(mBuffer.Data()), mBuffer.Size()))
  {
    if (count > mBuffer.Size() - (bytes - static_cast<const char*>(mBuffer.Data())))
      return false;
    void* aside = copied.Resize(count, false);
    if (copied.Size() != count)
      return false;
    std::memcpy(aside, bytes, static_cast<size_t>(count));
    bytes = static_cast<const char*>(aside);
  }

  const int newSize = length + count + 1;
  char* data = static_cast<char*>(mBuffer.Resize(newSize, false));
  if (!data || mBuffer.Size() != newSize)
    return false;
  std::memmove(data + position + count, data + position, static_cast<size_t>(length - position));
  std::memcpy(data + position, bytes, static_cast<size_t>(count));
  data[newSize - 1] = '\0';
  return true;
}

void GrowString::Clear()
{
  mBuffer.Resize(0, false);
}

} // namespace pfw
