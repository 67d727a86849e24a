// The input port's thread, fed the way the system feeds it: messages posted to its queue.

#include "deps/midi/MidiInputThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

using midi::MidiInputThread;

namespace {

struct Sink : midi::RawMidiSink
{
  std::mutex lock;
  std::vector<unsigned long> shorts;
  std::vector<std::vector<unsigned char>> pieces;
  std::atomic<DWORD> thread{0};
  std::atomic<int> calls{0};

  void OnShortMessage(unsigned long packed, double) override
  {
    std::lock_guard<std::mutex> guard(lock);
    shorts.push_back(packed);
    thread = GetCurrentThreadId();
    ++calls;
  }
  void OnSysExBytes(const unsigned char* bytes, size_t count, double) override
  {
    std::lock_guard<std::mutex> guard(lock);
    pieces.emplace_back(bytes, bytes + count);
    ++calls;
  }
};

bool WaitFor(const std::atomic<int>& value, int wanted)
{
  for (int i = 0; i < 10000 && value < wanted; ++i)
    Sleep(1);
  return value >= wanted;
}

} // namespace

TEST(MidiInputThread, HandsOnPostedMessagesOnItsOwnThreadAndReturnsBuffers)
{
  Sink sink;
  std::atomic<int> returned{0};
  MIDIHDR* lastReturned = nullptr;
  MidiInputThread thread(sink, [&](MIDIHDR* header) {
    lastReturned = header;
    ++returned;
  });
  ASSERT_TRUE(thread.Start());
  ASSERT_NE(0u, thread.ThreadId());
  // The queue exists as soon as Start returns: nothing posted now is lost.
  ASSERT_TRUE(PostThreadMessageW(thread.ThreadId(), MM_MIM_DATA, 0, 0x647090));
  ASSERT_TRUE(PostThreadMessageW(thread.ThreadId(), MM_MIM_MOREDATA, 0, 0x0040B0));

  char data[8] = {'\xF0', 0x41, 0x10, '\xF7'};
  MIDIHDR header = {};
  header.lpData = data;
  header.dwBufferLength = sizeof(data);
  header.dwBytesRecorded = 4;
  ASSERT_TRUE(PostThreadMessageW(thread.ThreadId(), MM_MIM_LONGDATA, 0, reinterpret_cast<LPARAM>(&header)));
  ASSERT_TRUE(WaitFor(sink.calls, 3));
  ASSERT_TRUE(WaitFor(returned, 1));
  EXPECT_EQ(&header, lastReturned);
  {
    std::lock_guard<std::mutex> guard(sink.lock);
    EXPECT_EQ(std::vector<unsigned long>({0x647090, 0x0040B0}), sink.shorts);
    ASSERT_EQ(1u, sink.pieces.size());
    EXPECT_EQ(std::vector<unsigned char>({0xF0, 0x41, 0x10, 0xF7}), sink.pieces[0]);
  }
  EXPECT_NE(GetCurrentThreadId(), sink.thread.load());

  // Closing: an empty buffer handed back is neither passed on nor given back again.
  thread.StopReturningBuffers();
  header.dwBytesRecorded = 0;
  PostThreadMessageW(thread.ThreadId(), MM_MIM_LONGDATA, 0, reinterpret_cast<LPARAM>(&header));
  PostThreadMessageW(thread.ThreadId(), MM_MIM_DATA, 0, 0x7F3C90);
  const DWORD id = thread.ThreadId();
  thread.Stop(); // handles what was posted first
  EXPECT_EQ(4, sink.calls.load());
  EXPECT_EQ(1, returned.load());
  HANDLE handle = OpenThread(SYNCHRONIZE, FALSE, id);
  if (handle)
  {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, 2000));
    CloseHandle(handle);
  }
  thread.Stop(); // again: harmless
}
