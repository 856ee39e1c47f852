// The window procedure of PWAPPCLASS, for Win32 code that forwards to it.
#pragma once

#include <windows.h>

LRESULT CALLBACK PwWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
