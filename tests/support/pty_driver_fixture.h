// A driver object of one class with its port open on a scripted peer's pseudo-terminal.
#pragma once

#include <memory>
#include <regex>
#include <string>

#include "driver/driver.h"
#include "driver/members.h"
#include "errors/codepage.h"
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

  // Answers every frame with status, result, reserve and data.
  void Answer(const Bytes& data, Byte status = 0, Byte result = 0, Byte reserve = 0) {
    peer_.SetScript([=](const Bytes& f, std::size_t) {
      return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), status, result, reserve, data)}};
    });
  }

  // The error text as the client reads it, in UTF-8 (the older classes read it with FPErrorMessage).
  static std::string Text(Driver& d) { return AnsiToUtf8(GetTextErrorMessage(d)); }
  static std::string OlderText(Driver& d) { return AnsiToUtf8(GetTextErrorMessage(d)); }

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
