#include "CountedProbes.h"

#include "deps/vst3/helpers/PluginView.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace vst3test;

TEST(CPluginView, AnswersTheBaseDefaults)
{
  const ViewRect initial{0, 0, 400, 300};
  CPluginView* view = new CPluginView(&initial);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kNotImplemented);
  EXPECT_EQ(view->onWheel(1.f), kResultFalse);
  EXPECT_EQ(view->onKeyDown(u'a', 0, 0), kResultFalse);
  EXPECT_EQ(view->onKeyUp(u'a', 0, 0), kResultFalse);
  EXPECT_EQ(view->onFocus(1), kResultFalse);
  EXPECT_EQ(view->canResize(), kResultFalse);
  ViewRect constrained{0, 0, 10, 10};
  EXPECT_EQ(view->checkSizeConstraint(&constrained), kResultFalse);

  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultTrue);
  EXPECT_EQ(size.getWidth(), 400);
  EXPECT_EQ(size.getHeight(), 300);
  EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
  ViewRect larger{10, 20, 810, 620};
  EXPECT_EQ(view->onSize(&larger), kResultTrue);
  ASSERT_EQ(view->getSize(&size), kResultTrue);
  EXPECT_EQ(size.left, 10);
  EXPECT_EQ(size.bottom, 620);
  EXPECT_EQ(view->onSize(nullptr), kInvalidArgument);

  int parent = 0;
  EXPECT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultOk);
  EXPECT_TRUE(view->isAttached());
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(view->isAttached());
  view->release();
}

TEST(CPluginView, KeepsTheFrameUntilReplacedOrDestroyed)
{
  CountedFrame frame;
  CountedFrame other;
  CPluginView* view = new CPluginView;
  EXPECT_EQ(view->setFrame(&frame), kResultTrue);
  EXPECT_EQ(frame.references, 2);
  view->removed(); // the frame outlives removed
  EXPECT_EQ(view->getFrame(), &frame);
  EXPECT_EQ(view->setFrame(&frame), kResultTrue);
  EXPECT_EQ(frame.references, 2);
  EXPECT_EQ(view->setFrame(&other), kResultTrue);
  EXPECT_EQ(frame.references, 1);
  EXPECT_EQ(other.references, 2);
  EXPECT_EQ(view->setFrame(nullptr), kResultTrue);
  EXPECT_EQ(other.references, 1);
  view->setFrame(&other);
  view->release();
  EXPECT_EQ(other.references, 1);
}

TEST(CPluginView, AnswersItsViewInterface)
{
  CPluginView* view = new CPluginView;
  void* face = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugView::iid, &face), kResultOk);
  EXPECT_EQ(face, static_cast<IPlugView*>(view));
  void* identity = nullptr;
  ASSERT_EQ(static_cast<IPlugView*>(face)->queryInterface(FUnknown::iid, &identity), kResultOk);
  EXPECT_EQ(identity, view->unknown());
  face = view;
  EXPECT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, &face), kNoInterface);
  EXPECT_EQ(face, nullptr);
  EXPECT_EQ(view->getRefCount(), 3u);
  view->release();
  view->release();
  EXPECT_EQ(view->release(), 0u);
}
