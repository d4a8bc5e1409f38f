#pragma once

// The System port of the system the tests run on.
#ifdef _WIN32
#include "platform/win32/win32_system.h"
#else
#include "platform/posix/posix_system.h"
#endif

namespace hoshizora::testing {

#ifdef _WIN32
using NativeSystem = Win32System;
#else
using NativeSystem = PosixSystem;
#endif

}  // namespace hoshizora::testing
