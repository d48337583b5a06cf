// The platform services the portable skin and render core asks for, installed over Win32 when
// the engine starts: system colours from the current scheme, text in the system's ANSI code
// page, and smooth-shaded triangles through msimg32's GradientFill where Windows has it.
#pragma once

namespace sk {

// Installs all three. Run once, by the engine's start (before the first skin manager).
void InstallPlatformHooks();

}  // namespace sk
