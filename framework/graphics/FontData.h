#pragma once

#include "FontDescriptor.h"

#include "framework/core/ByteBuffer.h"

namespace pfw::gui {

// The bytes of one font file, the face chosen inside it and that face's descriptor,
// which points into the record's own buffer.
class FontData
{
public:
  FontData() = default;
  FontData(const FontData&) = delete;
  FontData& operator=(const FontData&) = delete;

  // Copies the file's bytes; the face is unknown until SelectFace.
  bool Assign(const void* data, int size);
  ByteBuffer& Bytes() { return mBytes; }
  const void* Data() const { return mBytes.Data(); }
  int Size() const { return mBytes.Size(); }

  // Chooses the face whose style name is the wanted one ("Bold", "Italic"), or for an
  // empty wish the first face that names its style; when none does, the first usable
  // face, so that a font with unusual names still shows. False (face -1) when the file
  // holds no usable face.
  bool SelectFace(const char* styleName);
  int FaceIndex() const { return mFaceIndex; }
  const FontDescriptor& Descriptor() const { return mDescriptor; }

  // Bytes, a face and a usable descriptor: what the renderer can register.
  bool IsComplete() const { return mBytes.Size() > 0 && mFaceIndex >= 0 && mDescriptor.IsUsable(); }

private:
  ByteBuffer mBytes{4096};
  FontDescriptor mDescriptor;
  int mFaceIndex = -1;
};

} // namespace pfw::gui
