#include "wrappers/standalone/program/ProgramOptions.h"

#include "framework/platform/windows/Utf8.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

ProgramOptions ParseProgramOptions(const wchar_t* commandLine)
{
  ProgramOptions options;
  int count = 0;
  wchar_t** argv = commandLine && *commandLine ? CommandLineToArgvW(commandLine, &count) : nullptr;
  if (!argv)
    return options;
  for (int i = 1; i < count; ++i)
  {
    const std::wstring token = argv[i];
    if (token == L"--screenshot" && i + 1 < count)
      options.screenshotPath = pfw::WideToUtf8(argv[++i]);
    else if (token == L"--no-io")
      options.noIO = true;
  }
  LocalFree(argv);
  if (options.ScreenshotMode())
    options.noIO = true;
  return options;
}
