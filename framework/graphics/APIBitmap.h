#pragma once

namespace pfw::gui {

// A bitmap of the drawing back end; the back end derives from it and frees its image.
class APIBitmap
{
public:
  APIBitmap() = default;
  APIBitmap(int imageId, int width, int height, float scale, float drawScale)
    : mImageId(imageId), mWidth(width), mHeight(height), mScale(scale), mDrawScale(drawScale)
  {
  }
  virtual ~APIBitmap() = default;
  APIBitmap(const APIBitmap&) = delete;
  APIBitmap& operator=(const APIBitmap&) = delete;

  int GetImageId() const { return mImageId; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  float GetScale() const { return mScale; }
  float GetDrawScale() const { return mDrawScale; }
  void SetImageId(int id) { mImageId = id; }
  void SetSize(int width, int height)
  {
    mWidth = width;
    mHeight = height;
  }
  void SetScale(float scale) { mScale = scale; }
  void SetDrawScale(float drawScale) { mDrawScale = drawScale; }

private:
  int mImageId = 0;
  int mWidth = 0;
  int mHeight = 0;
  float mScale = 1.f;
  float mDrawScale = 1.f;
};

} // namespace pfw::gui
