// MIDI ports through the Windows multimedia interface; an input port's messages arrive
// on a MidiInputThread of its own.

#include "deps/midi/MidiBackend.h"
#include "deps/midi/MidiInputThread.h"
#include "deps/unicode/WideUtf8.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace midi {

namespace {

const int kSysExBuffers = 4;
const DWORD kSysExBufferBytes = 4096;

std::string ResultText(const char* what, MMRESULT result)
{
  char text[96];
  std::snprintf(text, sizeof(text), "%s failed (%u)", what, static_cast<unsigned int>(result));
  return text;
}

class WinMmInput : public InputPort
{
public:
  explicit WinMmInput(RawMidiSink& sink)
    : mThread(sink, [this](MIDIHDR* header) { midiInAddBuffer(mHandle, header, sizeof(*header)); })
  {
  }

  ~WinMmInput() override
  {
    mThread.StopReturningBuffers();
    if (mHandle)
    {
      midiInStop(mHandle);
      midiInReset(mHandle); // hands every buffer back, marked done
    }
    mThread.Stop();
    if (mHandle)
    {
      for (MIDIHDR& header : mHeaders)
        if (header.dwFlags & MHDR_PREPARED)
          midiInUnprepareHeader(mHandle, &header, sizeof(header));
      midiInClose(mHandle);
    }
  }

  bool Open(unsigned int port, std::string& error)
  {
    if (!mThread.Start())
    {
      error = "the input thread could not be started";
      return false;
    }
    MMRESULT result = midiInOpen(&mHandle, port, static_cast<DWORD_PTR>(mThread.ThreadId()), 0, CALLBACK_THREAD);
    if (result != MMSYSERR_NOERROR)
    {
      mHandle = nullptr;
      error = ResultText("midiInOpen", result);
      return false;
    }
    for (int i = 0; i < kSysExBuffers; ++i)
    {
      MIDIHDR& header = mHeaders[i];
      std::memset(&header, 0, sizeof(header));
      header.lpData = mData[i];
      header.dwBufferLength = kSysExBufferBytes;
      result = midiInPrepareHeader(mHandle, &header, sizeof(header));
      if (result == MMSYSERR_NOERROR)
        result = midiInAddBuffer(mHandle, &header, sizeof(header));
      if (result != MMSYSERR_NOERROR)
      {
        error = ResultText("midiInAddBuffer", result);
        return false;
      }
    }
    result = midiInStart(mHandle);
    if (result != MMSYSERR_NOERROR)
    {
      error = ResultText("midiInStart", result);
      return false;
    }
    return true;
  }

private:
  HMIDIIN mHandle = nullptr;
  MIDIHDR mHeaders[kSysExBuffers] = {};
  char mData[kSysExBuffers][kSysExBufferBytes];
  MidiInputThread mThread; // last: it ends before the buffers go
};

class WinMmOutput : public OutputPort
{
public:
  ~WinMmOutput() override
  {
    if (mHandle)
    {
      midiOutReset(mHandle);
      midiOutClose(mHandle);
    }
  }

  bool Open(unsigned int port, std::string& error)
  {
    const MMRESULT result = midiOutOpen(&mHandle, port, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR)
    {
      mHandle = nullptr;
      error = ResultText("midiOutOpen", result);
      return false;
    }
    return true;
  }

  bool SendShort(unsigned long packed, std::string& error) override
  {
    const MMRESULT result = midiOutShortMsg(mHandle, static_cast<DWORD>(packed));
    if (result != MMSYSERR_NOERROR)
      error = ResultText("midiOutShortMsg", result);
    return result == MMSYSERR_NOERROR;
  }

  bool SendSysEx(const unsigned char* bytes, size_t count, std::string& error) override
  {
    std::vector<char> data(bytes, bytes + count);
    MIDIHDR header;
    std::memset(&header, 0, sizeof(header));
    header.lpData = data.data();
    header.dwBufferLength = static_cast<DWORD>(count);
    header.dwBytesRecorded = static_cast<DWORD>(count);
    MMRESULT result = midiOutPrepareHeader(mHandle, &header, sizeof(header));
    if (result != MMSYSERR_NOERROR)
    {
      error = ResultText("midiOutPrepareHeader", result);
      return false;
    }
    result = midiOutLongMsg(mHandle, &header, sizeof(header));
    if (result == MMSYSERR_NOERROR)
    {
      // At 3125 bytes a second on a cable, with a second to spare; then give up waiting.
      const DWORD limit = static_cast<DWORD>(count / 3 + 1000);
      for (DWORD waited = 0; !(header.dwFlags & MHDR_DONE) && waited < limit; ++waited)
        Sleep(1);
      if (!(header.dwFlags & MHDR_DONE))
        midiOutReset(mHandle);
    }
    else
      error = ResultText("midiOutLongMsg", result);
    midiOutUnprepareHeader(mHandle, &header, sizeof(header));
    return result == MMSYSERR_NOERROR;
  }

private:
  HMIDIOUT mHandle = nullptr;
};

class WinMmBackend : public Backend
{
public:
  std::vector<std::string> PortNames(bool input) override
  {
    std::vector<std::string> names;
    const UINT count = input ? midiInGetNumDevs() : midiOutGetNumDevs();
    for (UINT port = 0; port < count; ++port)
    {
      if (input)
      {
        MIDIINCAPSW caps;
        names.push_back(midiInGetDevCapsW(port, &caps, sizeof(caps)) == MMSYSERR_NOERROR ? unicode::WideToUtf8(caps.szPname)
                                                                                          : std::string());
      }
      else
      {
        MIDIOUTCAPSW caps;
        names.push_back(midiOutGetDevCapsW(port, &caps, sizeof(caps)) == MMSYSERR_NOERROR ? unicode::WideToUtf8(caps.szPname)
                                                                                           : std::string());
      }
    }
    return names;
  }

  std::unique_ptr<InputPort> OpenInput(unsigned int port, RawMidiSink& sink, std::string& error) override
  {
    WinMmInput* input = new WinMmInput(sink);
    std::unique_ptr<InputPort> owned(input);
    if (!input->Open(port, error))
      return nullptr;
    return owned;
  }

  std::unique_ptr<OutputPort> OpenOutput(unsigned int port, std::string& error) override
  {
    WinMmOutput* output = new WinMmOutput();
    std::unique_ptr<OutputPort> owned(output);
    if (!output->Open(port, error))
      return nullptr;
    return owned;
  }
};

} // namespace

std::unique_ptr<Backend> MakeWinMmBackend(bool /*input*/, std::string& /*error*/)
{
  return std::unique_ptr<Backend>(new WinMmBackend());
}

} // namespace midi
