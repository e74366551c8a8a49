// Every test that touches the driver starts from a freshly loaded library: default settings,
// empty call state, a private log folder, and a clock whose pauses cost no time.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/module.h"
#include "support/fakes.h"

namespace zorfp::testing {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Module& module() { return TheModule(); }
  // The whole text of today's log file ("" when there is none).
  std::string LogText() const;
  std::filesystem::path log_folder() const { return log_folder_; }

  SkippingClock clock_;

 private:
  std::filesystem::path log_folder_;
};

}  // namespace zorfp::testing
