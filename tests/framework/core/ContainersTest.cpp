#include "framework/core/GrowArray.h"
#include "framework/core/PointerList.h"

#include <gtest/gtest.h>

#include <vector>

using pfw::GrowArray;
using pfw::PointerList;

namespace {
struct Record
{
  double value;
  char text[32];
};

// Logs each deletion and what the owning list looked like at that moment.
struct Tracked
{
  Tracked(int id, std::vector<int>& log, const PointerList<Tracked>*& list)
    : mId(id)
    , mLog(log)
    , mList(list)
  {
  }
  ~Tracked()
  {
    mLog.push_back(mId);
    if (mList)
      mLog.push_back(mList->Find(this));
  }
  int mId;
  std::vector<int>& mLog;
  const PointerList<Tracked>*& mList;
};
} // namespace

TEST(GrowArray, CountFollowsSizeAndRecordsKeepTheirOrder)
{
  GrowArray<Record> records(4096);
  EXPECT_EQ(records.GetSize(), 0);
  EXPECT_EQ(records.Get(0), nullptr);
  for (int i = 0; i < 1000; ++i)
    ASSERT_NE(records.Add(Record{i * 0.5, {}}), nullptr);
  EXPECT_EQ(records.GetSize(), 1000);
  EXPECT_DOUBLE_EQ(records.Get(999)->value, 499.5);
  EXPECT_TRUE(records.Delete(0));
  EXPECT_DOUBLE_EQ(records.Get(0)->value, 0.5);
  EXPECT_EQ(records.GetSize(), 999);
  EXPECT_FALSE(records.Delete(999));
  EXPECT_EQ(records.Get(-1), nullptr);
  EXPECT_FALSE(records.Resize(INT_MAX / 8)) << "an impossible size is refused";
  EXPECT_EQ(records.GetSize(), 999);
}

TEST(PointerList, GetIsNullOutsideTheList)
{
  PointerList<int> list;
  EXPECT_EQ(list.Get(0), nullptr);
  int a = 1, b = 2, c = 3;
  list.Add(&a);
  list.Add(&c);
  list.Insert(1, &b);
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(1), &b);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Find(&c), 2);
  EXPECT_TRUE(list.Delete(0));
  EXPECT_EQ(list.Get(0), &b);
  EXPECT_EQ(a, 1) << "a list that does not own leaves elements alone";
}

TEST(PointerList, OwningListDeletesLastToFirstShrinkingAsItGoes)
{
  std::vector<int> log;
  const PointerList<Tracked>* watched = nullptr;
  {
    PointerList<Tracked> list(true);
    watched = &list;
    for (int id = 0; id < 3; ++id)
      list.Add(new Tracked(id, log, watched));
    list.Delete(1);
    EXPECT_EQ(list.GetSize(), 2);
  }
  // Element 1 went first; then 2 and 0, each no longer listed when deleted.
  EXPECT_EQ(log, (std::vector<int>{1, -1, 2, -1, 0, -1}));
}

TEST(PointerList, ManyEntriesGrowInPages)
{
  PointerList<int> list;
  std::vector<int> values(10000);
  for (int& v : values)
    list.Add(&v);
  EXPECT_EQ(list.GetSize(), 10000);
  EXPECT_EQ(list.Get(9999), &values[9999]);
  EXPECT_EQ(list.GetLast(), &values[9999]);
}
