// bass.dll and basswasapi.dll: the audio libraries the application loads. This build carries
// their version export; AUDIO_VERSION_EXPORT names it and AUDIO_VERSION_* give the version.
#include <windows.h>

#include "payload/AudioLibraryVersion.h"

extern "C" uint32_t __stdcall AUDIO_VERSION_EXPORT() {
  return kv::PackVersion(AUDIO_VERSION_MAJOR, AUDIO_VERSION_MINOR, AUDIO_VERSION_RELEASE, AUDIO_VERSION_BUILD);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
