// Polling another process's state until it holds or a timeout passes.
#pragma once
#include <windows.h>

template <class Condition>
bool wait_until(Condition done, DWORD timeout_ms, DWORD poll_ms = 20) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(poll_ms);
  }
  return true;
}
