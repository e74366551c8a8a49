// A driver object of one class with its port open on a scripted peer's pseudo-terminal.
#pragma once

#include <memory>
#include <regex>
#include <string>

#include "driver/driver.h"
#include "driver/members.h"
#include "support/module_fixture.h"
#include "support/pty_peer.h"
#include "variants/traits.h"

namespace zorfp::testing {

class PtyDriverTest : public ModuleTest {
 protected:
  // A loaded machine must not turn a prompt answer into a time-out: answers get a generous
  // window, and tests about silence shorten it with ExpectSilence().
  void SetUp() override {
    ModuleTest::SetUp();
    module().settings.AnswerWaiting = kGenerousWindow;
  }
  void ExpectSilence() { module().settings.AnswerWaiting = 1; }
  static constexpr Byte kGenerousWindow = 8;

  void Open(VariantId id, Byte read_timeout = 1, Byte write_timeout = 1) {
    driver_ = std::make_unique<Driver>(Traits(id));
    ASSERT_TRUE(FPInitEx(*driver_, peer_.path(), 9600, read_timeout, write_timeout));
  }
  void TearDown() override {
    driver_.reset();
    ModuleTest::TearDown();
  }

  std::vector<std::string> SentHex() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) out.push_back(Hex(f));
    return out;
  }

  // The log with every time stamp replaced by "<stamp>".
  std::string LogWithoutStamps() const {
    static const std::regex stamp(R"(\d\d\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d\d\d )");
    return std::regex_replace(LogText(), stamp, "<stamp>");
  }

  PtyPeer peer_;
  std::unique_ptr<Driver> driver_;
};

}  // namespace zorfp::testing
