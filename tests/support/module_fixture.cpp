#include "support/module_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "link/exchange_log.h"

namespace zorfp::testing {

void ModuleTest::SetUp() {
  ResetModuleForTesting();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  log_folder_ = std::filesystem::temp_directory_path() / "zorfp-tests" /
                (std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(::getpid()));
  std::filesystem::remove_all(log_folder_);
  // Fixed formats: records and file names must not depend on the machine's locale.
  module().env.locale = LocaleFormats{"dd.MM.yy", ".", ":", "HH:mm:ss"};
  module().env.log_folder = log_folder_;
  module().clock = &clock_;
}

void ModuleTest::TearDown() {
  ResetModuleForTesting();
  std::error_code ignored;
  std::filesystem::remove_all(log_folder_, ignored);
}

std::string ModuleTest::LogText() const {
  std::ostringstream all;
  if (!std::filesystem::exists(log_folder_)) return "";
  for (const auto& entry : std::filesystem::directory_iterator(log_folder_)) {
    std::ifstream in(entry.path(), std::ios::binary);
    all << in.rdbuf();
  }
  return all.str();
}

}  // namespace zorfp::testing
