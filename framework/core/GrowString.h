#pragma once

#include "ByteBuffer.h"

#include <cstdarg>

namespace pfw {

// A growable NUL-terminated UTF-8 string. Its size counts the terminating NUL, so ""
// has size 1; a string never used has size 0 and also reads as "".
class GrowString
{
public:
  explicit GrowString(const char* text = nullptr);
  GrowString(const GrowString& other);
  GrowString& operator=(const GrowString& other);

  const char* Get() const;
  int GetLength() const;

  // Copies at most maxLength characters (all when maxLength <= 0). The text may lie
  // inside this string. Returns false, leaving the string unchanged, when memory fails.
  bool Set(const char* text, int maxLength = 0);
  bool Append(const char* text, int maxLength = 0);

  // Copies the other string; when memory fails the string becomes empty (size 0).
  void Assign(const GrowString& other);

  // printf-style, writing at most maxLength characters (no limit when maxLength <= 0).
  bool SetFormatted(int maxLength, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
  bool AppendFormatted(int maxLength, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

  // Inserts count bytes at a byte position 0 ... length. The bytes may lie inside this
  // string, even in the part that moves. Returns false and changes nothing otherwise.
  bool Insert(int position, const char* bytes, int count);

  void Clear();

private:
  bool FormatAt(int offset, int maxLength, const char* format, va_list args);

  ByteBuffer mBuffer;
};

} // namespace pfw
