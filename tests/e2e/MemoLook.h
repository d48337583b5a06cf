// The log memo's skinned scroll bar seen from outside: unavailable and blended while the
// log's lines fit, a thumb and working wheel and arrow once more lines are typed in.
#pragma once
#include "InstallerSession.h"

// Run after a completed install (the memo holds its lines and is enabled).
void check_log_scroll_bar(InstallerSession& session);
