#include "setup/setup_run.h"

#include <fstream>
#include <iterator>
#include <new>

#include "setup/text.h"

namespace zorfp::setup {
namespace {

constexpr int kQuietDownloadAttempts = 3;

std::string Utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Removes the Run value on every way out, unless the run ends for a restart; also the one an
// earlier run left for its restart, when this run (the one after it) has nothing to install.
class RunValue {
 public:
  RunValue(SetupPlatform& platform, std::string name) : platform_(platform), name_(std::move(name)) {}
  ~RunValue() {
    if (!keep_) Remove();
  }
  void Set(const std::string& command) {
    platform_.SetRunValue(name_, command);
    set_ = true;
  }
  void Remove() {
    if (set_) platform_.RemoveRunValue(name_);
    set_ = false;
  }
  void KeepForRestart() { keep_ = true; }

 private:
  SetupPlatform& platform_;
  std::string name_;
  bool set_ = true;  // unknown until removed: a restart may have left it
  bool keep_ = false;
};

int Fail(SetupPlatform& platform, PackageError e) {
  platform.HideProgress();
  platform.ShowError(PackageErrorText(e));
  return static_cast<int>(e);
}

int Run(SetupPlatform& platform, const std::string& command_line) {
  const std::filesystem::path program = platform.ProgramFile();
  std::unique_ptr<ByteSource> file = OpenFileSource(program);

  if (const std::optional<std::string> target = ExtractFolder(command_line)) {
    if (!file) return Fail(platform, PackageError::kRead);
    PackageResult r = ReadPackage(*file);
    if (r.error != PackageError::kNone) return Fail(platform, r.error);
    const std::filesystem::path folder(std::u8string(target->begin(), target->end()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const PackageError e = ExtractAll(r.package, *file, folder, program.parent_path());
    return e == PackageError::kNone ? 0 : Fail(platform, e);
  }

  const std::optional<std::filesystem::path> temp = platform.TempFolder();
  if (!temp) return Fail(platform, PackageError::kNoTempFolder);
  if (!file) return Fail(platform, PackageError::kRead);
  PackageResult r = ReadPackage(*file);
  if (r.error != PackageError::kNone) return Fail(platform, r.error);
  Package& package = r.package;
  const std::string title = Format("%s Setup", platform.ProductName().c_str());
  platform.ShowProgress(title, "Checking the prerequisites...");

  Configuration configuration;
  std::optional<std::string> text;
  if (package.FilesBeside()) {
    std::filesystem::path ini = program;
    text = ReadTextFile(ini.replace_extension(".ini"));
  } else if (Entry* e = package.CarriesConfiguration() ? package.Find(kConfiguration) : nullptr) {
    const PackageError error = Extract(*e, *file, *temp);
    if (error != PackageError::kNone) return Fail(platform, error);
    text = ReadTextFile(EntryPath(*temp, e->name));
  }
  if (text) configuration = ReadConfiguration(Profile::Parse(*text));
  const std::string parameters = command_line.empty() ? configuration.main_command_line : command_line;

  SetupPlatform::Session session(platform, package, *file, *temp, program.parent_path(), configuration);
  session.DetectAll();
  RunValue run_value(platform, Utf8(program));
  if (session.AnyNeedsAction()) {
    run_value.Set(RunCommand(program, command_line));
    platform.HideProgress();
    const StepOutcome outcome =
        session.Config().Quiet() ? InstallQuietly(platform, session) : platform.RunWizard(session);
    if (outcome == StepOutcome::kRestart || session.RestartAsked()) {
      run_value.KeepForRestart();
      return kRestartRequired;
    }
    if (outcome == StepOutcome::kCancelled) return -1;
  }

  platform.ShowProgress(title, "Extracting the main application files...");
  for (Entry& e : package.entries) {
    if (e.kind != kDatabase && e.kind != kCabinet) continue;
    const PackageError error = ExtractOne(package, e, *file, *temp, program.parent_path());
    if (error != PackageError::kNone) return Fail(platform, error);
  }
  run_value.Remove();
  const Entry* database = package.Find(kDatabase);
  if (!database) return Fail(platform, PackageError::kDamaged);
  platform.HideProgress();
  const std::optional<int> exit_code = platform.OpenAndWait(EntryPath(*temp, database->name), parameters);
  if (!exit_code) return Fail(platform, PackageError::kInstaller);
  return *exit_code;
}

}  // namespace

const char* PackageErrorText(PackageError e) {
  switch (e) {
    case PackageError::kRead: return "An error occurred while reading the file.";
    case PackageError::kDamaged: return "This archive is corupted.";
    case PackageError::kUnsupported: return "This archive has an unsuported version.";
    case PackageError::kInstaller: return "Windows Installer could not be started.";
    default: return "An error occurred while extracting.";
  }
}

bool AsksForRestart(int exit_code) { return exit_code == kRestartRequired || exit_code == kRestartInitiated; }

std::optional<std::string> ExtractFolder(const std::string& command_line) {
  std::string_view s = Trim(command_line);
  constexpr std::string_view kSwitch = "/extract:";
  if (s.size() < kSwitch.size() || !EqualsNoCase(s.substr(0, kSwitch.size()), kSwitch)) return std::nullopt;
  s = Trim(s.substr(kSwitch.size()));
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  std::string folder(s);
  if (folder.empty()) return std::nullopt;
  if (folder.back() != '\\' && folder.back() != '/') folder += std::filesystem::path::preferred_separator == '\\' ? '\\' : '/';
  return folder;
}

std::string RunCommand(const std::filesystem::path& program, const std::string& command_line) {
  // Built piece by piece: GCC 12 misjudges the chained concatenation (-Wrestrict).
  std::string command(1, '"');
  command += Utf8(program);
  command += '"';
  const std::string_view rest = Trim(command_line);
  if (!rest.empty()) {
    command += ' ';
    command += rest;
  }
  return command;
}

SetupPlatform::Session::Session(SetupPlatform& platform, Package& package, ByteSource& file,
                                std::filesystem::path folder, std::filesystem::path program_folder,
                                Configuration configuration)
    : download_folder(folder),
      platform_(platform),
      package_(package),
      file_(file),
      folder_(std::move(folder)),
      program_folder_(std::move(program_folder)),
      configuration_(std::move(configuration)) {}

void SetupPlatform::Session::DetectAll() {
  items_.clear();
  for (const Prerequisite& p : configuration_.prerequisites) {
    Item item;
    item.prerequisite = &p;
    item.detection = Detect(p, platform_.Probe());
    item.checked = NeedsAction(item.detection.state);
    items_.push_back(std::move(item));
  }
}

bool SetupPlatform::Session::Install(Item& item) {
  const Prerequisite& p = *item.prerequisite;
  std::filesystem::path setup = item.downloaded;
  if (setup.empty()) {
    Entry* entry = p.setup_file.empty() ? nullptr : package_.Find(kPrerequisiteSetup, p.setup_file);
    if (!entry) return false;
    if (ExtractOne(package_, *entry, file_, folder_, program_folder_) != PackageError::kNone) return false;
    setup = EntryPath(folder_, entry->name);
  }
  const std::optional<int> exit_code = platform_.OpenAndWait(setup, p.command_line);
  if (!exit_code) return false;
  if (AsksForRestart(*exit_code)) restart_ = true;
  item.detection = Detect(p, platform_.Probe());
  return true;
}

bool SetupPlatform::Session::MandatoryMissing() const {
  for (const Item& i : items_) {
    if (i.prerequisite->Mandatory() && NeedsAction(i.detection.state)) return true;
  }
  return false;
}

bool SetupPlatform::Session::AnyNeedsAction() const {
  for (const Item& i : items_) {
    if (NeedsAction(i.detection.state)) return true;
  }
  return false;
}

StepOutcome InstallQuietly(SetupPlatform& platform, SetupPlatform::Session& session) {
  class Quiet : public DownloadSink {
    void Status(const std::string&) override {}
    void Progress(int, const std::string&, const std::string&, const std::string&) override {}
  } sink;
  const std::atomic<bool> never(false);
  for (Item& item : session.Items()) {
    if (item.detection.state == State::kDownload) {
      std::unique_ptr<Transport> transport = platform.MakeTransport();
      Download d(*transport, item.prerequisite->url, session.download_folder, item.prerequisite->exact_size,
                 platform.Clock());
      DownloadOutcome outcome = DownloadOutcome::kInterrupted;
      for (int attempt = 0; attempt < kQuietDownloadAttempts && outcome == DownloadOutcome::kInterrupted; ++attempt) {
        outcome = d.Run(never, sink);
      }
      if (outcome == DownloadOutcome::kDone) {
        item.downloaded = d.Target();
        session.Install(item);
      }
    } else if (item.detection.state == State::kInstall) {
      session.Install(item);
    }
    if (session.RestartAsked()) return StepOutcome::kRestart;
  }
  return session.MandatoryMissing() ? StepOutcome::kCancelled : StepOutcome::kGoOn;
}

int RunSetup(SetupPlatform& platform, const std::string& command_line) {
  try {
    return Run(platform, command_line);
  } catch (const std::bad_alloc&) {
    return Fail(platform, PackageError::kOutOfMemory);
  } catch (const std::exception&) {
    return Fail(platform, PackageError::kWrite);
  }
}

}  // namespace zorfp::setup
