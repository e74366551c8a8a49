// The setup program's platform object on Windows.
#pragma once

#include "setup/win32.h"

namespace zorfp::setup::win32 {

class Win32Platform : public SetupPlatform {
 public:
  explicit Win32Platform(HINSTANCE instance);
  ~Win32Platform() override;

  std::filesystem::path ProgramFile() override;
  std::optional<std::filesystem::path> TempFolder() override;
  void ShowError(const std::string& text) override;
  void ShowProgress(const std::string& title, const std::string& text) override;
  void HideProgress() override;
  std::string ProductName() override;
  SystemProbe& Probe() override;
  void SetRunValue(const std::string& name, const std::string& command) override;
  void RemoveRunValue(const std::string& name) override;
  std::optional<int> OpenAndWait(const std::filesystem::path& file, const std::string& parameters) override;
  void OpenSite(const std::string& url) override;
  std::unique_ptr<Transport> MakeTransport() override;
  Download::Clock Clock() override;
  StepOutcome RunWizard(Session& session) override;

 private:
  std::string Title();

  HINSTANCE instance_;
  std::unique_ptr<SystemProbe> probe_;
  HWND progress_ = nullptr;
};

}  // namespace zorfp::setup::win32
