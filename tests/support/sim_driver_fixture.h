// A driver object of one class talking to the simulator of the same variant over a real pty.
#pragma once

#include <unistd.h>

#include <memory>
#include <string>

#include "driver/driver.h"
#include "driver/members.h"
#include "sim/simulator.h"
#include "support/module_fixture.h"
#include "variants/traits.h"

namespace zorfp::testing {

class SimDriverTest : public ModuleTest {
 protected:
  // Starts a simulator of the class's variant and opens the driver's port on it.
  void Start(VariantId id, sim::SimulatorOptions options = {}) {
    options.variant = *sim::ParseVariant(Traits(id).tag);
    options.link_path = (std::filesystem::temp_directory_path() /
                         ("zorfp-printer-" + std::to_string(::getpid()) + "-" + std::to_string(++links_)))
                            .string();
    sim_ = std::make_unique<sim::Simulator>(std::move(options));
    sim_->Start();
    module().settings.AnswerWaiting = 8;  // a loaded machine must not turn an answer into a time-out
    driver_ = std::make_unique<Driver>(Traits(id));
    ASSERT_TRUE(FPInitEx(*driver_, sim_->path(), 9600, 1, 1));
  }

  void TearDown() override {
    driver_.reset();
    if (sim_) sim_->Stop();
    sim_.reset();
    ModuleTest::TearDown();
  }

  Driver& d() { return *driver_; }

  std::unique_ptr<sim::Simulator> sim_;
  std::unique_ptr<Driver> driver_;

 private:
  int links_ = 0;
};

}  // namespace zorfp::testing
