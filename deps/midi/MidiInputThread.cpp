#include "deps/midi/MidiInputThread.h"

namespace midi {

namespace {

double Seconds()
{
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

MidiInputThread::MidiInputThread(RawMidiSink& sink, std::function<void(MIDIHDR*)> returnBuffer)
  : mSink(sink)
  , mReturnBuffer(std::move(returnBuffer))
{
}

MidiInputThread::~MidiInputThread()
{
  Stop();
}

bool MidiInputThread::Start()
{
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!ready)
    return false;
  try
  {
    mThread = std::thread([this, ready] { Run(ready); });
  }
  catch (...)
  {
    CloseHandle(ready);
    return false;
  }
  WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);
  return true;
}

void MidiInputThread::Stop()
{
  if (!mThread.joinable())
    return;
  PostThreadMessageW(mThreadId, WM_QUIT, 0, 0);
  mThread.join();
}

void MidiInputThread::Run(HANDLE ready)
{
  MSG message;
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // makes the queue
  mThreadId = GetCurrentThreadId();
  SetEvent(ready);
  while (GetMessageW(&message, nullptr, 0, 0) > 0)
  {
    if (message.message == MM_MIM_DATA || message.message == MM_MIM_MOREDATA)
      mSink.OnShortMessage(static_cast<unsigned long>(message.lParam), Seconds());
    else if (message.message == MM_MIM_LONGDATA)
    {
      MIDIHDR* header = reinterpret_cast<MIDIHDR*>(message.lParam);
      if (header->dwBytesRecorded > 0)
        mSink.OnSysExBytes(reinterpret_cast<const unsigned char*>(header->lpData), header->dwBytesRecorded,
                           Seconds());
      if (mReturning && mReturnBuffer)
        mReturnBuffer(header);
    }
  }
}

} // namespace midi
