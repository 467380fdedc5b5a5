#pragma once

// The helper lives below the windows, where the analysis grid reaches it too;
// the workspace's windows include it from here.
#include "platform/core/ScreenText.h"
