// Callers on several threads at once: one member call at a time in the whole library, so frames
// never interleave on a port and a call's outcome is never overwritten while it runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "driver/long_job.h"
#include "errors/texts.h"
#include "sim/simulator.h"
#include "support/member_call.h"
#include "support/module_fixture.h"
#include "variants/traits.h"

namespace zorfp {
namespace {

using testing::Call;

// A printer of one class in this process, and a driver object on it.
struct Station {
  Station(VariantId id, const std::string& link) : traits(Traits(id)) {
    sim::SimulatorOptions o;
    o.variant = *sim::ParseVariant(traits.tag);
    o.link_path = link;
    sim = std::make_unique<sim::Simulator>(o);
    sim->Start();
    driver = std::make_unique<Driver>(traits);
  }
  ~Station() {
    driver.reset();
    sim->Stop();
  }
  // The names of the items on the printer's receipt.
  std::multiset<std::string> Items() {
    return sim->WithModel([](sim::PrinterModel& m) {
      std::multiset<std::string> names;
      for (const sim::ReceiptItem& item : m.receipt.items) names.insert(item.name);
      return names;
    });
  }

  const VariantTraits& traits;
  std::unique_ptr<sim::Simulator> sim;
  std::unique_ptr<Driver> driver;
};

class ConcurrencyTest : public testing::ModuleTest {
 protected:
  std::string Link(const char* name) {
    return (std::filesystem::temp_directory_path() / ("zorfp-hammer-" + std::to_string(::getpid()) + "-" + name))
        .string();
  }
};

TEST_F(ConcurrencyTest, ThreadsOnTwoObjectsNeverInterleave) {
  module().settings.AnswerWaiting = 8;  // a loaded machine must not turn an answer into a time-out
  Station a(VariantId::k05_03, Link("a"));
  Station b(VariantId::kEP_02, Link("b"));
  ASSERT_TRUE(Call<bool>(*a.driver, "FPInitEx", AnsiString(a.sim->path()), 9600u, Byte{1}, Byte{1}));
  ASSERT_TRUE(Call<bool>(*b.driver, "FPInitEx", AnsiString(b.sim->path()), 9600u, Byte{1}, Byte{1}));

  constexpr int kThreads = 4;
  constexpr int kSales = 25;
  std::atomic<int> failures{0};
  std::multiset<std::string> expected[2];
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kSales; ++i) expected[(t + i) % 2].insert("T" + std::to_string(t) + "-" + std::to_string(i));
  }
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kSales; ++i) {
        Station& s = (t + i) % 2 == 0 ? a : b;
        const AnsiString name = "T" + std::to_string(t) + "-" + std::to_string(i);
        if (!Call<bool>(*s.driver, "FPSale", 1000, Byte{3}, false, 100 + i, 0, false, name, std::uint64_t(t * 100 + i + 1))) {
          ++failures;
        }
        // A call that only reads the call state may come between any two others.
        Call<Byte>(*s.driver, "GetByteResult");
      }
    });
  }
  // A long job holds the lock for all of its exchanges, and calls members from inside it.
  threads.emplace_back([&] {
    for (int i = 0; i < 5; ++i) {
      RunLongJob(*a.driver, kWaitZReport, texts::kWaitZReport, [&] {
        const Byte before = module().link.FrameSeq;
        for (int k = 0; k < 3; ++k) {
          if (!Call<bool>(*a.driver, "GetSmenaOpened") && a.driver->call().ReportedResult != 0) ++failures;
        }
        if (static_cast<Byte>(module().link.FrameSeq - before) != 3) ++failures;
      });
    }
  });
  for (std::thread& t : threads) t.join();

  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(a.Items(), expected[0]);
  EXPECT_EQ(b.Items(), expected[1]);
  for (Station* s : {&a, &b}) {
    const sim::Counters c = s->sim->counters();
    EXPECT_EQ(c.bad_frames, 0u) << s->traits.tag;
    EXPECT_EQ(c.frames_abandoned, 0u) << s->traits.tag;
    EXPECT_EQ(c.stray_bytes, 0u) << s->traits.tag;
    EXPECT_EQ(c.repeats_answered, 0u) << s->traits.tag << ": nothing needed sending again";
    EXPECT_EQ(c.frames_received, c.commands_executed) << s->traits.tag;
  }
}

}  // namespace
}  // namespace zorfp
