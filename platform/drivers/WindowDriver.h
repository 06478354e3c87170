#pragma once

// The window driver of this build: SDL2 (see SdlDriver.h). Its presence tells
// ApplicationMain that runWindowDriver exists.
#include "platform/drivers/SdlDriver.h"
