// What the screenshot programs share: a minimal host that loads the plug-in, a host window
// for its editor, a message loop and pictures of windows saved to files.
#pragma once

#include "VstAbi.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// LoadLibrary, then VSTPluginMain with a host that answers only the version; null when
// either fails.
AEffect* loadPlugin(const char* path);

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);

// A top-level window at the screen's origin, of a class of its own, for effEditOpen.
HWND createHostWindow(const char* className, DWORD style, int width, int height);

// Dispatches every queued message.
void drainMessages();
// Dispatches queued messages, then waits up to the given time for more to arrive.
void dispatchAndWait(DWORD milliseconds);
// Keeps this thread's windows and timers running for the given time.
void pumpMessages(DWORD milliseconds);

// A 24-bit picture laid out as in a BMP file: rows bottom-up, each padded to four bytes.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgr;

  std::size_t stride() const { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
};

enum class CaptureArea { Client, WholeWindow };
Picture captureWindow(HWND window, CaptureArea area);

// Both write a temporary file first, so a failed shot never leaves half a picture behind.
bool saveBmp(const std::string& path, const Picture& picture);
bool savePpm(const std::string& path, const Picture& picture);
