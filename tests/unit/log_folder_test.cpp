// Where the exchange log goes when the folder beside the library cannot be written (a library
// installed in /usr/lib): the user's state folder.
#include "link/module_path.h"

#include <gtest/gtest.h>

#include "link/exchange_log.h"

namespace zorfp {
namespace {

TEST(LogFolder, BesideTheLibraryOrTheUsersStateFolder) {
  const std::filesystem::path beside = "/usr/lib/x86_64-linux-gnu/Log";
  struct Case {
    bool writable;
    const char* xdg;
    const char* home;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {true, "/state", "/home/ann", beside},
      {false, "/state", "/home/ann", "/state/zorfp/Log"},
      {false, nullptr, "/home/ann", "/home/ann/.local/state/zorfp/Log"},
      {false, "", "/home/ann", "/home/ann/.local/state/zorfp/Log"},
      {false, "relative/state", "/home/ann", "/home/ann/.local/state/zorfp/Log"},  // not absolute: ignored
      {false, nullptr, nullptr, beside},  // nowhere better: the open fails and says so
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseLogFolder(beside, c.writable, c.xdg, c.home), c.expected)
        << c.writable << " " << (c.xdg ? c.xdg : "-") << " " << (c.home ? c.home : "-");
  }
}

TEST(LogFolder, AProgramInAWritableFolderLogsBesideItself) {
  // The test program lies in the build tree, which can be written.
  EXPECT_EQ(LogFolder(Environment{}), ModuleFileName().parent_path() / "Log");
  const std::filesystem::path chosen = "/somewhere/else";
  EXPECT_EQ(LogFolder(Environment{{}, chosen}), chosen);
}

}  // namespace
}  // namespace zorfp
