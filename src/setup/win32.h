// The Windows layer of the setup program: text conversion, and the parts the platform object is
// made of (system probe, internet transport, wizard, progress window).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "setup/setup_run.h"

namespace zorfp::setup::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

std::unique_ptr<SystemProbe> MakeProbe();
std::unique_ptr<Transport> MakeInternetTransport();

// The prerequisites wizard on property sheet pages.
StepOutcome RunWizard(HINSTANCE instance, SetupPlatform& platform, SetupPlatform::Session& session);

// Dispatches the messages waiting for this thread's windows.
void PumpMessages();

}  // namespace zorfp::setup::win32
