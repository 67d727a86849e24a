#pragma once

#include <windows.h>

// The main window: a dialog that holds the plug-in's editor and carries the menu.
INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The timer that takes the screenshot in screenshot mode, and its delay.
constexpr UINT_PTR kScreenshotTimerId = 1001;
constexpr UINT kScreenshotDelayMs = 500;
