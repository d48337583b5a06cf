#include "skinframework/sSkinState.h"

namespace sk {

bool acSkinLoading = false;
bool acSkinChanging = false;
HWND acObserverWindow = nullptr;

}  // namespace sk
