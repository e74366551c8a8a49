// One run of the setup program, over what the platform offers: the command line, the package at
// the end of the program's own file, the prerequisites step, and the installation database.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/configuration.h"
#include "setup/detection.h"
#include "setup/download.h"
#include "setup/package.h"

namespace zorfp::setup {

// The message shown for a package error.
const char* PackageErrorText(PackageError e);

// A prerequisite as the prerequisites step sees it.
struct Item {
  const Prerequisite* prerequisite = nullptr;
  Detection detection;
  bool checked = true;
  std::filesystem::path downloaded;  // the whole downloaded setup program, once there is one
};

// How a prerequisite's setup program ended.
inline constexpr int kRestartRequired = 3010;   // ERROR_SUCCESS_REBOOT_REQUIRED
inline constexpr int kRestartInitiated = 1641;  // ERROR_SUCCESS_REBOOT_INITIATED
bool AsksForRestart(int exit_code);

enum class StepOutcome { kGoOn, kCancelled, kRestart };

class SetupPlatform {
 public:
  virtual ~SetupPlatform() = default;
  virtual std::filesystem::path ProgramFile() = 0;
  virtual std::optional<std::filesystem::path> TempFolder() = 0;
  virtual void ShowError(const std::string& text) = 0;
  virtual void ShowProgress(const std::string& title, const std::string& text) = 0;
  virtual void HideProgress() = 0;
  virtual std::string ProductName() = 0;
  virtual SystemProbe& Probe() = 0;
  // The current user's Run value that starts the program again after a restart.
  virtual void SetRunValue(const std::string& name, const std::string& command) = 0;
  virtual void RemoveRunValue(const std::string& name) = 0;
  // The shell's "open" of `file` with `parameters`, waited for: its exit code, or nullopt when it
  // could not be started.
  virtual std::optional<int> OpenAndWait(const std::filesystem::path& file, const std::string& parameters) = 0;
  virtual void OpenSite(const std::string& url) = 0;
  virtual std::unique_ptr<Transport> MakeTransport() = 0;
  virtual Download::Clock Clock() = 0;
  // The prerequisites wizard; the platform runs installs and downloads through `session`.
  class Session;
  virtual StepOutcome RunWizard(Session& session) = 0;
};

// What the prerequisites step works on, for the wizard and for the quiet mode alike.
class SetupPlatform::Session {
 public:
  Session(SetupPlatform& platform, Package& package, ByteSource& file, std::filesystem::path folder,
          std::filesystem::path program_folder, Configuration configuration);

  std::vector<Item>& Items() { return items_; }
  const Configuration& Config() const { return configuration_; }
  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path download_folder;

  void DetectAll();
  // Installs a checked item from its setup file (package entry or download) and detects it again.
  // False when it could not be started.
  bool Install(Item& item);
  // True once a prerequisite's setup program asked for a restart.
  bool RestartAsked() const { return restart_; }
  // Mandatory items still not installed.
  bool MandatoryMissing() const;
  bool AnyNeedsAction() const;

 private:
  SetupPlatform& platform_;
  Package& package_;
  ByteSource& file_;
  std::filesystem::path folder_;
  std::filesystem::path program_folder_;
  Configuration configuration_;
  std::vector<Item> items_;
  bool restart_ = false;
};

// The program's exit code: the installer's, 0 after "/extract:", the package error's number
// after its message, -1 when the prerequisites step does not go on, 3010 when a prerequisite
// asked for a restart (the program starts again from the Run key).
int RunSetup(SetupPlatform& platform, const std::string& command_line);

// "/extract:" followed by a folder, in double quotes or not; nullopt for any other command line.
std::optional<std::string> ExtractFolder(const std::string& command_line);

// Quiet mode: every prerequisite that needs action, without pages.
StepOutcome InstallQuietly(SetupPlatform& platform, SetupPlatform::Session& session);

// The Run value's data: the program's path in quotes, then its command line.
std::string RunCommand(const std::filesystem::path& program, const std::string& command_line);

}  // namespace zorfp::setup
