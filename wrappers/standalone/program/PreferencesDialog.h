#pragma once

#include "deps/audio/RtAudio.h"
#include "framework/core/GrowString.h"

#include <windows.h>

// The Preferences dialog: audio driver, devices, channels, buffer size and sample rate,
// MIDI ports and channels. Its controls show and change the host's edited settings.
INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The buffer sizes offered, in frames.
extern const char* const BufferSizeTexts[11];

void PopulateAudioDialog(HWND dialog);
void PopulateAudioDeviceLists(HWND dialog);
void PopulateInputChannelLists(HWND dialog, const RtAudio::DeviceInfo& input);
void PopulateOutputChannelLists(HWND dialog, const RtAudio::DeviceInfo& output);
// The rates both devices support, in the input device's order.
void PopulateSampleRateList(HWND dialog, const RtAudio::DeviceInfo& input, const RtAudio::DeviceInfo& output);
// False, leaving the MIDI lists empty, without MIDI objects.
bool PopulateMidiDialog(HWND dialog);
// The text of a combo box's item (UTF-8).
void GetComboText(HWND dialog, int comboId, int item, pfw::GrowString& text);
