#pragma once

#include "HostTestSupport.h"

#include "wrappers/standalone/program/Program.h"

#include <windows.h>

#include <functional>
#include <string>

// A top-level window of this process with the class and caption; null when none is there
// within the seconds given.
HWND WaitForOwnWindow(const char* className, const char* caption, int seconds = 60);
// The picture's path that the "Screenshot Saved" question names; empty when it names none.
std::string SavedScreenshotPath(const std::string& question);
// The dialog class's name.
constexpr const char* kDialogClass = "#32770";

// The program run inside the test process on this thread, with the host's test services
// (recorded messages, settings under the test's folder, fake devices unless useFakes is
// off) and a driver thread that works its windows by messages, then closes it.
class ProgramTest : public HostTest
{
protected:
  // Runs AppMain; drive gets the main window once it is shown (not when the program ends
  // before). The window is closed after drive returns, if it is still there.
  int RunProgram(const ProgramOptions& options, const std::function<void(HWND main)>& drive,
                 StandaloneHost::PluginFactory makePlugin = nullptr);

  // The item texts of a combo box of a dialog.
  static std::vector<std::string> ComboTexts(HWND dialog, int id);
  // Chooses the item with the text in a combo box as the user would: a selection and its
  // notification.
  static void ChooseInCombo(HWND dialog, int id, const std::string& text);

  bool mainWindowShown = false;
};
