#pragma once

namespace sk {
// Makes the control classes known to the window-description reader.
void RegisterControlClasses();
}
