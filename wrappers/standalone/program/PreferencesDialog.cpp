#include "wrappers/standalone/program/PreferencesDialog.h"

#include "framework/platform/windows/Utf8Shims.h"
#include "wrappers/standalone/StandaloneHost.h"
#include "wrappers/standalone/program/Program.h"
#include "wrappers/standalone/program/ResourceIds.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

const char* const BufferSizeTexts[11] = {"32", "64", "96", "128", "192", "256", "512", "1024", "2048", "4096", "8192"};

namespace {

StandaloneHost& Host()
{
  return *StandaloneHost::Get();
}

LRESULT Combo(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
  return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

int AddItem(HWND dialog, int id, const char* text)
{
  return static_cast<int>(Combo(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void AddNumber(HWND dialog, int id, int number)
{
  AddItem(dialog, id, std::to_string(number).c_str());
}

int Selection(HWND dialog, int id)
{
  return static_cast<int>(Combo(dialog, id, CB_GETCURSEL));
}

void Select(HWND dialog, int id, int item)
{
  Combo(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item));
}

// Selects the item whose text is exactly the text; false when there is none.
bool SelectText(HWND dialog, int id, const char* text)
{
  const LRESULT item = Combo(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (item == CB_ERR)
    return false;
  Select(dialog, id, static_cast<int>(item));
  return true;
}

// The index of the last device whose name is the name, else 0.
int DeviceIndex(StandaloneHost& host, const std::vector<unsigned int>& ids, const char* name)
{
  int index = 0;
  for (size_t i = 0; i < ids.size(); ++i)
    if (host.GetAudioDeviceName(ids[i]) == name)
      index = static_cast<int>(i);
  return index;
}

// Both channel lists of one direction: 1 ... N-1 in both, N in the second only.
void PopulateChannelPair(HWND dialog, int firstId, int secondId, unsigned int channels, int first, int second)
{
  Combo(dialog, firstId, CB_RESETCONTENT);
  Combo(dialog, secondId, CB_RESETCONTENT);
  for (unsigned int channel = 1; channel + 1 <= channels; ++channel)
  {
    AddNumber(dialog, firstId, static_cast<int>(channel));
    AddNumber(dialog, secondId, static_cast<int>(channel));
  }
  AddNumber(dialog, secondId, static_cast<int>(std::max(channels, 1u)));
  Select(dialog, firstId, first - 1);
  Select(dialog, secondId, second - 1);
}

void PopulateMidiPorts(HWND dialog, int id, const std::vector<std::string>& names, pfw::GrowString& edited)
{
  Combo(dialog, id, CB_RESETCONTENT);
  for (const std::string& name : names)
    AddItem(dialog, id, name.c_str());
  if (!SelectText(dialog, id, edited.Get()))
  {
    edited.Set("off");
    Host().WriteSettings();
    Select(dialog, id, 0);
  }
}

void PopulateMidiChannels(HWND dialog, int id, int channel)
{
  Combo(dialog, id, CB_RESETCONTENT);
  AddItem(dialog, id, "all");
  for (int n = 1; n <= 16; ++n)
    AddNumber(dialog, id, n);
  Select(dialog, id, channel);
}

void OnInitDialog(HWND dialog)
{
  StandaloneHost& host = Host();
  for (int id : {IDC_AUDIO_INPUT, IDC_AUDIO_OUTPUT, IDC_MIDI_INPUT, IDC_MIDI_OUTPUT})
    pfw::SubclassWindowUTF8(GetDlgItem(dialog, id));
  Combo(dialog, IDC_DRIVER, CB_RESETCONTENT);
  AddItem(dialog, IDC_DRIVER, "DirectSound");
  Select(dialog, IDC_DRIVER, host.EditedSettings().driverType);
  PopulateAudioDialog(dialog);
  PopulateMidiDialog(dialog);
  host.BackupSettings().CopyFrom(host.EditedSettings());
}

void OnCancel(HWND dialog)
{
  StandaloneHost& host = Host();
  StandaloneSettings& edited = host.EditedSettings();
  const StandaloneSettings& backup = host.BackupSettings();
  EndDialog(dialog, IDCANCEL);
  const bool sameAudio = edited.SameAudioSettings(backup);
  const bool sameMidi = edited.SameMidiSettings(backup);
  if (sameAudio && sameMidi)
    return;
  edited.CopyFrom(backup);
  if (!sameAudio)
  {
    host.CreateAudioDriver();
    host.ProbeAudioDevices();
    host.TryStartAudio();
  }
  // The ports open are the ones the settings name again.
  if (!sameMidi)
  {
    const std::string input = edited.midiInputPort.Get(), output = edited.midiOutputPort.Get();
    host.SelectMidiPort(false, input.c_str());
    host.SelectMidiPort(true, output.c_str());
  }
  // Apply may have stored what is now cancelled.
  host.WriteSettings();
}

void OnDriverChange(HWND dialog)
{
  StandaloneHost& host = Host();
  StandaloneSettings& edited = host.EditedSettings();
  edited.driverType = Selection(dialog, IDC_DRIVER);
  host.CreateAudioDriver();
  host.ProbeAudioDevices();
  if (!host.InputDeviceIds().empty())
    edited.audioInputDevice.Set(host.GetAudioDeviceName(host.InputDeviceIds().front()).c_str());
  if (!host.OutputDeviceIds().empty())
    edited.audioOutputDevice.Set(host.GetAudioDeviceName(host.OutputDeviceIds().front()).c_str());
  edited.outputChannel1 = 1;
  edited.outputChannel2 = 2;
  PopulateAudioDialog(dialog);
}

// The first channel of a pair chooses the second, which follows it.
void OnFirstChannel(HWND dialog, int firstId, int secondId, int32_t& first, int32_t& second)
{
  const int item = Selection(dialog, firstId);
  if (item < 0)
    return;
  first = item + 1;
  second = item + 2;
  Select(dialog, secondId, item + 1);
}

// The second channel cannot be chosen on its own: a choice goes back to the stored one.
void OnSecondChannel(HWND dialog, int id, int notification, int32_t& channel)
{
  if (notification == CBN_SELCHANGE)
    Select(dialog, id, channel - 1);
  const int item = Selection(dialog, id);
  if (item >= 0)
    channel = item + 1;
}

void OnCommand(HWND dialog, int id, int notification)
{
  StandaloneHost& host = Host();
  StandaloneSettings& edited = host.EditedSettings();
  const bool changed = notification == CBN_SELCHANGE;
  pfw::GrowString text;
  switch (id)
  {
  case IDOK:
    if (!host.ActiveSettings().Equals(edited))
      host.TryStartAudio();
    EndDialog(dialog, IDOK);
    break;
  case IDCANCEL: OnCancel(dialog); break;
  case IDC_APPLY: host.TryStartAudio(); break;
  case IDC_DRIVER:
    if (changed && Selection(dialog, IDC_DRIVER) != edited.driverType)
      OnDriverChange(dialog);
    break;
  case IDC_AUDIO_INPUT:
  case IDC_AUDIO_OUTPUT:
    if (changed && Selection(dialog, id) >= 0)
    {
      GetComboText(dialog, id, Selection(dialog, id), text);
      const bool input = id == IDC_AUDIO_INPUT;
      (input ? edited.audioInputDevice : edited.audioOutputDevice).Set(text.Get());
      (input ? edited.inputChannel1 : edited.outputChannel1) = 1;
      (input ? edited.inputChannel2 : edited.outputChannel2) = 2;
      PopulateAudioDeviceLists(dialog);
    }
    break;
  case IDC_BUFFER_SIZE:
    if (changed && Selection(dialog, id) >= 0)
      edited.bufferSize = std::atoi(BufferSizeTexts[std::min(Selection(dialog, id), 10)]);
    break;
  case IDC_SAMPLE_RATE:
    if (changed && Selection(dialog, id) >= 0)
      edited.sampleRate = static_cast<int32_t>(Combo(dialog, id, CB_GETITEMDATA, Selection(dialog, id)));
    break;
  case IDC_INPUT_CHANNEL_1:
    if (changed)
      OnFirstChannel(dialog, id, IDC_INPUT_CHANNEL_2, edited.inputChannel1, edited.inputChannel2);
    break;
  case IDC_OUTPUT_CHANNEL_1:
    if (changed)
      OnFirstChannel(dialog, id, IDC_OUTPUT_CHANNEL_2, edited.outputChannel1, edited.outputChannel2);
    break;
  case IDC_INPUT_CHANNEL_2: OnSecondChannel(dialog, id, notification, edited.inputChannel2); break;
  case IDC_OUTPUT_CHANNEL_2: OnSecondChannel(dialog, id, notification, edited.outputChannel2); break;
  case IDC_MIDI_INPUT:
  case IDC_MIDI_OUTPUT:
    if (changed && Selection(dialog, id) >= 0)
    {
      const bool output = id == IDC_MIDI_OUTPUT;
      GetComboText(dialog, id, Selection(dialog, id), text);
      (output ? edited.midiOutputPort : edited.midiInputPort).Set(text.Get());
      host.SelectMidiPort(output, text.Get());
    }
    break;
  case IDC_MIDI_INPUT_CHANNEL:
    if (changed && Selection(dialog, id) >= 0)
      edited.midiInputChannel = Selection(dialog, id);
    break;
  case IDC_MIDI_OUTPUT_CHANNEL:
    if (changed && Selection(dialog, id) >= 0)
      edited.midiOutputChannel = Selection(dialog, id);
    break;
  default: break; // "Config..." has nothing to configure for DirectSound
  }
}

} // namespace

void PopulateAudioDialog(HWND dialog)
{
  PopulateAudioDeviceLists(dialog);
  Combo(dialog, IDC_BUFFER_SIZE, CB_RESETCONTENT);
  for (const char* text : BufferSizeTexts)
    AddItem(dialog, IDC_BUFFER_SIZE, text);
  if (!SelectText(dialog, IDC_BUFFER_SIZE, std::to_string(Host().EditedSettings().bufferSize).c_str()))
    Select(dialog, IDC_BUFFER_SIZE, -1);
}

void PopulateAudioDeviceLists(HWND dialog)
{
  StandaloneHost& host = Host();
  const StandaloneSettings& edited = host.EditedSettings();
  const int driver = Selection(dialog, IDC_DRIVER);
  EnableWindow(GetDlgItem(dialog, IDC_AUDIO_INPUT), driver != 1);
  EnableWindow(GetDlgItem(dialog, IDC_DRIVER_CONFIG), driver == 1);

  Combo(dialog, IDC_AUDIO_INPUT, CB_RESETCONTENT);
  Combo(dialog, IDC_AUDIO_OUTPUT, CB_RESETCONTENT);
  const std::vector<unsigned int>& inputs = host.InputDeviceIds();
  const std::vector<unsigned int>& outputs = host.OutputDeviceIds();
  for (unsigned int id : inputs)
    AddItem(dialog, IDC_AUDIO_INPUT, host.GetAudioDeviceName(id).c_str());
  for (unsigned int id : outputs)
    AddItem(dialog, IDC_AUDIO_OUTPUT, host.GetAudioDeviceName(id).c_str());
  const int inputIndex = DeviceIndex(host, inputs, edited.audioInputDevice.Get());
  const int outputIndex = DeviceIndex(host, outputs, edited.audioOutputDevice.Get());
  Select(dialog, IDC_AUDIO_INPUT, driver == 1 ? outputIndex : inputIndex);
  Select(dialog, IDC_AUDIO_OUTPUT, outputIndex);

  RtAudio* audio = host.GetAudioDriver();
  RtAudio::DeviceInfo inputInfo, outputInfo;
  if (audio && !inputs.empty())
  {
    inputInfo = audio->getDeviceInfo(inputs[static_cast<size_t>(inputIndex)]);
    PopulateInputChannelLists(dialog, inputInfo);
  }
  if (audio && !outputs.empty())
  {
    outputInfo = audio->getDeviceInfo(outputs[static_cast<size_t>(outputIndex)]);
    PopulateOutputChannelLists(dialog, outputInfo);
  }
  PopulateSampleRateList(dialog, inputInfo, outputInfo);
}

void PopulateInputChannelLists(HWND dialog, const RtAudio::DeviceInfo& input)
{
  const StandaloneSettings& edited = Host().EditedSettings();
  PopulateChannelPair(dialog, IDC_INPUT_CHANNEL_1, IDC_INPUT_CHANNEL_2, input.inputChannels, edited.inputChannel1,
                      edited.inputChannel2);
}

void PopulateOutputChannelLists(HWND dialog, const RtAudio::DeviceInfo& output)
{
  const StandaloneSettings& edited = Host().EditedSettings();
  PopulateChannelPair(dialog, IDC_OUTPUT_CHANNEL_1, IDC_OUTPUT_CHANNEL_2, output.outputChannels,
                      edited.outputChannel1, edited.outputChannel2);
}

void PopulateSampleRateList(HWND dialog, const RtAudio::DeviceInfo& input, const RtAudio::DeviceInfo& output)
{
  Combo(dialog, IDC_SAMPLE_RATE, CB_RESETCONTENT);
  for (unsigned int rate : input.sampleRates)
    for (unsigned int other : output.sampleRates)
      if (rate == other)
      {
        const int item = AddItem(dialog, IDC_SAMPLE_RATE, std::to_string(rate).c_str());
        Combo(dialog, IDC_SAMPLE_RATE, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(rate));
      }
  if (!SelectText(dialog, IDC_SAMPLE_RATE, std::to_string(Host().EditedSettings().sampleRate).c_str()))
    Select(dialog, IDC_SAMPLE_RATE, -1);
}

bool PopulateMidiDialog(HWND dialog)
{
  StandaloneHost& host = Host();
  if (!host.GetMidiInput() || !host.GetMidiOutput())
    return false;
  StandaloneSettings& edited = host.EditedSettings();
  PopulateMidiPorts(dialog, IDC_MIDI_INPUT, host.MidiInputNames(), edited.midiInputPort);
  PopulateMidiPorts(dialog, IDC_MIDI_OUTPUT, host.MidiOutputNames(), edited.midiOutputPort);
  PopulateMidiChannels(dialog, IDC_MIDI_INPUT_CHANNEL, edited.midiInputChannel);
  PopulateMidiChannels(dialog, IDC_MIDI_OUTPUT_CHANNEL, edited.midiOutputChannel);
  return true;
}

void GetComboText(HWND dialog, int comboId, int item, pfw::GrowString& text)
{
  const LRESULT length = Combo(dialog, comboId, CB_GETLBTEXTLEN, static_cast<WPARAM>(item));
  if (length == CB_ERR)
  {
    text.Set("");
    return;
  }
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  Combo(dialog, comboId, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.data()));
  text.Set(buffer.data());
}

INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
  return GuardedProcedure([&]() -> INT_PTR {
    if (!StandaloneHost::Get())
      return FALSE;
    switch (message)
    {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
  });
}
