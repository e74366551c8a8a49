// `zorfp soak`: receipts on a simulated printer whose line misbehaves, and a check of every call.
//
// For each class it starts the simulator in this process with every fault kind mixed in, drives
// receipts (sale items, a card payment, a closing cash payment) and after every call compares
// what the call reported with what the printer holds and printed: an item or payment registered
// twice is doubled, one reported done that the printer does not hold is lost, one the printer
// holds although the call said it failed is executed-but-reported-false, one held with other
// values than sent (or a receipt total the driver keeps that differs from the printer's) is
// wrongly valued. The table at the end is the run's outcome; the exit status is 1 when anything
// was doubled, lost or wrongly valued, or a call hung or crashed.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "commands/items.h"
#include "commands/payment.h"
#include "commands/totals.h"
#include "driver/driver.h"
#include "driver/members.h"
#include "sim/receipt_flow.h"
#include "sim/simulator.h"
#include "tools/subcommand.h"
#include "variants/traits.h"

namespace zorfp::tools {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kCardForm = 0;
constexpr int kCashForm = 3;
constexpr int kCashRetries = 4;  // a point-of-sale program tries again to close a receipt

struct SoakOptions {
  std::vector<VariantId> classes;
  int receipts = 200;
  double faults = 0.02;  // chance that a frame meets a fault, spread evenly over every kind
  std::uint64_t seed = 1;
  int baud = 115200;
  bool pace = false;
  Byte answer_waiting = 1;
  Byte repeat_count = 2;
  std::string log_folder;  // the exchange log goes here when set
  double hang_seconds = 10;  // a call longer than this counts as hung
};

// What happened to one kind of entry (items, payments).
struct EntryTally {
  std::uint64_t calls = 0;
  std::uint64_t reported_done = 0;
  std::uint64_t registered = 0;
  std::uint64_t doubled = 0;
  std::uint64_t lost = 0;
  std::uint64_t false_reported = 0;  // executed, but the call said it failed
  std::uint64_t wrong_value = 0;

  void Add(const EntryTally& o) {
    calls += o.calls, reported_done += o.reported_done, registered += o.registered, doubled += o.doubled;
    lost += o.lost, false_reported += o.false_reported, wrong_value += o.wrong_value;
  }
  double FalseShare() const { return calls == 0 ? 0.0 : static_cast<double>(false_reported) / calls; }
};

struct Tally {
  std::string tag;
  std::uint64_t receipts = 0;
  std::uint64_t receipts_abandoned = 0;  // no payment would close it; cancelled
  std::uint64_t calls = 0;
  std::array<std::uint64_t, sim::kFaultKindCount> struck{};
  std::map<std::string, std::uint64_t> results;  // by reported code; "text" for a failure the older classes report by text alone
  EntryTally items;
  EntryTally payments;
  std::uint64_t repeats_answered = 0;  // resends the printer answered from memory
  std::uint64_t hangs = 0;
  std::uint64_t crashes = 0;
  double longest = 0;
  double seconds = 0;

  void Add(const Tally& o) {
    receipts += o.receipts, receipts_abandoned += o.receipts_abandoned, calls += o.calls;
    for (std::size_t i = 0; i < struck.size(); ++i) struck[i] += o.struck[i];
    for (const auto& [code, n] : o.results) results[code] += n;
    items.Add(o.items), payments.Add(o.payments);
    repeats_answered += o.repeats_answered, hangs += o.hangs, crashes += o.crashes;
    longest = std::max(longest, o.longest), seconds += o.seconds;
  }
  bool Sound() const {
    return items.doubled + items.lost + items.wrong_value + payments.doubled + payments.lost +
               payments.wrong_value + hangs + crashes ==
           0;
  }
  bool TargetsMet() const {
    return Sound() && items.FalseShare() <= 0.001 && payments.FalseShare() <= 0.001;
  }
};

class Soak {
 public:
  Soak(VariantId id, const SoakOptions& o, Tally& t) : id_(id), traits_(Traits(id)), o_(o), t_(t) {}

  bool Run() {
    const std::filesystem::path link = std::filesystem::temp_directory_path() /
                                       ("zorfp-soak-" + std::to_string(::getpid()) + "-" + traits_.tag);
    sim::SimulatorOptions so;
    so.variant = *sim::ParseVariant(traits_.tag);
    so.link_path = link.string();
    so.baud = o_.baud;
    so.pace = o_.pace;
    so.seed = o_.seed * 7 + static_cast<std::uint64_t>(id_);  // each class meets its own faults
    for (auto& rule : so.faults.rules) rule = sim::FaultRule::WithProbability(o_.faults / sim::kFaultKindCount);
    sim_ = std::make_unique<sim::Simulator>(so);
    sim_->Start();
    sim_->WithModel([this](sim::PrinterModel& m) {
      m.printing.tape = [this](std::string_view line) { tape_.emplace_back(line); };  // under the model's lock
    });

    TheModule().settings.AnswerWaiting = o_.answer_waiting;
    TheModule().settings.RepeatCount = o_.repeat_count;
    if (!o_.log_folder.empty()) {
      TheModule().settings.LogRecord = true;
      TheModule().env.log_folder = o_.log_folder;
    }
    driver_ = std::make_unique<Driver>(traits_);
    const bool opened = id_ == VariantId::k08_01 ? FPInitEx(*driver_, sim_->path(), 1, 1)
                                                 : FPInitEx(*driver_, sim_->path(), static_cast<std::uint32_t>(o_.baud), 1, 1);
    if (!opened) {
      std::fprintf(stderr, "zorfp soak: %s: cannot open %s\n", traits_.tag, sim_->path().c_str());
      return false;
    }
    std::mt19937_64 rng(o_.seed);
    const auto start = SteadyClock::now();
    for (int r = 0; r < o_.receipts; ++r) Receipt(rng);
    t_.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();

    FPClose(*driver_);
    driver_.reset();
    for (int k = 0; k < sim::kFaultKindCount; ++k) t_.struck[k] = sim_->FaultStrikes(static_cast<sim::FaultKind>(k));
    t_.repeats_answered = sim_->counters().repeats_answered;
    sim_->Stop();
    return true;
  }

 private:
  // One call, timed and tallied; false when it failed or threw.
  template <typename F>
  bool Call(F&& f) {
    ++t_.calls;
    const auto start = SteadyClock::now();
    bool ok = false;
    try {
      ok = f();
    } catch (const std::exception& e) {
      ++t_.crashes;
      std::fprintf(stderr, "zorfp soak: %s: a call threw: %s\n", traits_.tag, e.what());
    }
    const double took = std::chrono::duration<double>(SteadyClock::now() - start).count();
    t_.longest = std::max(t_.longest, took);
    if (took > o_.hang_seconds) ++t_.hangs;
    const LastCall& c = driver_->call();
    std::string code = ok ? "0" : std::to_string(c.ReportedResult);
    if (!ok && c.ReportedResult == 0) code = "text";
    ++t_.results[code];
    return ok;
  }

  // Judges one entry from what the call said and how often the printer now holds it.
  void Judge(EntryTally& e, bool reported, std::size_t held_before, std::size_t held_after, bool value_right,
             const std::string& what) {
    ++e.calls;
    if (reported) ++e.reported_done;
    const std::size_t added = held_after - std::min(held_after, held_before);
    if (added > 0) ++e.registered;
    if (added > 1) Fault(e.doubled, "doubled", what);
    if (reported && added == 0) Fault(e.lost, "lost", what);
    if (!reported && added > 0) ++e.false_reported;
    if (added > 0 && !value_right) Fault(e.wrong_value, "wrongly valued", what);
  }
  void Fault(std::uint64_t& counter, const char* how, const std::string& what) {
    ++counter;
    std::fprintf(stderr, "zorfp soak: %s: %s %s\n", traits_.tag, what.c_str(), how);
  }

  struct Held {
    std::size_t count = 0;
    bool right = true;
    bool receipt_open = false;
    std::int64_t total = 0;
  };

  Held HeldItem(const std::string& name, std::int64_t price, std::uint64_t code) {
    return sim_->WithModel([&](sim::PrinterModel& m) {
      Held h;
      for (const sim::ReceiptItem& item : m.receipt.items) {
        if (item.name != name) continue;
        ++h.count;
        h.right = h.right && item.price == price && item.quantity == 1000 && item.decimals == 3 &&
                  item.code == code && item.tax_group == 0;
      }
      // Printed as often as registered: the tape says the same as the registers.
      const auto printed = static_cast<std::size_t>(std::count_if(
          tape_.begin(), tape_.end(), [&](const std::string& line) { return line.find(name) != std::string::npos; }));
      h.right = h.right && printed == h.count;
      h.receipt_open = m.receipt.open();
      h.total = sim::SumsOf(m, m.receipt).total;
      return h;
    });
  }

  Held HeldPayments(int form, std::uint32_t amount) {
    return sim_->WithModel([&](sim::PrinterModel& m) {
      Held h;
      if (m.receipt.state == sim::ReceiptState::kNone) return h;
      for (const sim::Payment& p : m.receipt.payments) {
        if (p.form != form) continue;
        ++h.count;
        h.right = h.right && static_cast<std::int64_t>(amount) == p.amount;
      }
      h.receipt_open = m.receipt.open();
      return h;
    });
  }

  bool Sale(const std::string& name, std::int32_t price, std::uint32_t code) {
    Driver& d = *driver_;
    if (traits_.older_family) return Call([&] { return FPSale(d, 1000, 3, price, 0, name, code); });
    return Call([&] { return FPSale(d, 1000, 3, false, price, 0, false, name, std::uint64_t{code}); });
  }

  bool Pay(int form, std::uint32_t amount, bool close) {
    Driver& d = *driver_;
    if (traits_.older_family) {
      return Call([&] { return FPPayment(d, static_cast<Byte>(form), amount, close, false, AnsiString()); });
    }
    return Call([&] { return FPPayment(d, std::int32_t{form}, amount, close, true); });
  }

  void Receipt(std::mt19937_64& rng) {
    ++t_.receipts;
    const int items = 1 + static_cast<int>(rng() % 6);
    std::int64_t reported_total = 0;
    bool any_registered = false;
    for (int i = 0; i < items; ++i) {
      const std::uint32_t serial = ++serial_;
      const std::string name = "SOAK" + std::to_string(serial);
      const auto price = static_cast<std::int32_t>(100 + serial % 900);
      const Held before = HeldItem(name, price, serial);
      const bool ok = Sale(name, price, serial);
      const Held after = HeldItem(name, price, serial);
      bool right = after.right;
      // What the driver keeps of the receipt is the printer's receipt total.
      if (ok && !traits_.older_family) right = right && HeldReceipt(*driver_).ReceiptTotal == after.total;
      Judge(t_.items, ok, before.count, after.count, right, name);
      if (ok) reported_total += price;
      any_registered = any_registered || after.count > 0;
    }
    if (!any_registered) return;  // nothing opened a receipt

    const auto card = static_cast<std::uint32_t>(1 + rng() % 50);
    {
      const Held before = HeldPayments(kCardForm, card);
      const bool ok = Pay(kCardForm, card, false);
      const Held after = HeldPayments(kCardForm, card);
      Judge(t_.payments, ok, before.count, after.count, after.right, "card payment " + std::to_string(card));
    }
    // Cash well over the total, so that the receipt closes whatever the items came to.
    const auto cash = static_cast<std::uint32_t>(reported_total + 100'000 + rng() % 1000);
    for (int attempt = 0; attempt <= kCashRetries; ++attempt) {
      const Held before = HeldPayments(kCashForm, cash);
      if (!before.receipt_open) break;
      const bool ok = Pay(kCashForm, cash, true);
      const Held after = HeldPayments(kCashForm, cash);
      Judge(t_.payments, ok, before.count, after.count, after.right, "cash payment " + std::to_string(cash));
      if (!after.receipt_open) return;
    }
    if (HeldPayments(kCashForm, cash).receipt_open) {
      ++t_.receipts_abandoned;
      for (int attempt = 0; attempt <= kCashRetries; ++attempt) {
        if (Call([&] { return FPResetOrder(*driver_); })) break;
      }
    }
  }

  VariantId id_;
  const VariantTraits& traits_;
  const SoakOptions& o_;
  Tally& t_;
  std::unique_ptr<sim::Simulator> sim_;
  std::unique_ptr<Driver> driver_;
  std::vector<std::string> tape_;
  std::uint32_t serial_ = 0;
};

std::string Percent(std::uint64_t part, std::uint64_t whole) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f%%", whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / whole);
  return text;
}

void PrintTable(const std::vector<Tally>& tallies, const SoakOptions& o) {
  std::printf("soak: %d receipts per class, faults %.2f%% of frames (every kind), seed %llu, %d baud%s, "
              "RepeatCount %d\n\n",
              o.receipts, o.faults * 100, static_cast<unsigned long long>(o.seed), o.baud, o.pace ? " paced" : "",
              o.repeat_count);
  std::printf("%-7s %8s %7s %6s %7s %8s %6s %5s %9s %6s %7s %8s %6s %5s %9s %5s %5s %7s %6s\n", "class", "receipts",
              "calls", "items", "doubled", "lost", "false", "wrong", "false%", "pays", "doubled", "lost", "false", "wrong",
              "false%", "hangs", "crash", "longest", "secs");
  for (const Tally& t : tallies) {
    std::printf("%-7s %8llu %7llu %6llu %7llu %8llu %6llu %5llu %9s %6llu %7llu %8llu %6llu %5llu %9s %5llu %5llu %6.2fs %6.1f\n",
                t.tag.c_str(), (unsigned long long)t.receipts, (unsigned long long)t.calls,
                (unsigned long long)t.items.calls, (unsigned long long)t.items.doubled, (unsigned long long)t.items.lost,
                (unsigned long long)t.items.false_reported, (unsigned long long)t.items.wrong_value,
                Percent(t.items.false_reported, t.items.calls).c_str(), (unsigned long long)t.payments.calls,
                (unsigned long long)t.payments.doubled, (unsigned long long)t.payments.lost,
                (unsigned long long)t.payments.false_reported, (unsigned long long)t.payments.wrong_value,
                Percent(t.payments.false_reported, t.payments.calls).c_str(), (unsigned long long)t.hangs,
                (unsigned long long)t.crashes, t.longest, t.seconds);
  }
  std::printf("\nfaults struck    ");
  for (int k = 0; k < sim::kFaultKindCount; ++k) std::printf(" %12s", std::string(sim::FaultName(static_cast<sim::FaultKind>(k))).c_str());
  std::printf(" %12s\n", "resends-memo");
  for (const Tally& t : tallies) {
    std::printf("  %-15s", t.tag.c_str());
    for (std::uint64_t n : t.struck) std::printf(" %12llu", (unsigned long long)n);
    std::printf(" %12llu\n", (unsigned long long)t.repeats_answered);
  }
  std::printf("\nresults by code  (0 done; 101 no answer; 103 layout; text: failure reported by text alone)\n");
  for (const Tally& t : tallies) {
    std::printf("  %-15s", t.tag.c_str());
    for (const auto& [code, n] : t.results) std::printf(" %s:%llu", code.c_str(), (unsigned long long)n);
    if (t.receipts_abandoned) std::printf("  (receipts cancelled: %llu)", (unsigned long long)t.receipts_abandoned);
    std::printf("\n");
  }
  std::printf("\ntargets (0 doubled, lost, wrong, hangs, crashes; executed-but-reported-false <= 0.1%%):");
  for (const Tally& t : tallies) std::printf(" %s %s", t.tag.c_str(), t.TargetsMet() ? "met" : "MISSED");
  std::printf("\n");
}

int Usage() {
  std::fprintf(stderr,
               "usage: zorfp soak [--class NAME|all]... [--receipts N] [--faults P] [--seed N] [--baud N] [--pace]\n"
               "                  [--answer-waiting N] [--repeat-count N] [--log DIR] [--hang-seconds S]\n"
               "                  [--require-targets]\n"
               "  --faults P: the chance (0..1) that a frame meets a fault, spread over every kind (default 0.02)\n");
  return 2;
}

int RunSoak(std::span<const std::string_view> args) {
  SoakOptions o;
  bool require_targets = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    const bool has_value = i + 1 < args.size();
    const std::string value = has_value ? std::string(args[i + 1]) : std::string();
    try {
      if (a == "--class" && has_value) {
        ++i;
        if (value == "all") {
          for (const VariantTraits* t : ClassOrder()) o.classes.push_back(t->id);
        } else if (const auto id = FindVariant(value)) {
          o.classes.push_back(*id);
        } else {
          std::fprintf(stderr, "zorfp soak: unknown class %s\n", value.c_str());
          return 2;
        }
      } else if (a == "--receipts" && has_value) {
        o.receipts = std::stoi(value), ++i;
      } else if (a == "--faults" && has_value) {
        o.faults = std::stod(value), ++i;
      } else if (a == "--seed" && has_value) {
        o.seed = std::stoull(value), ++i;
      } else if (a == "--baud" && has_value) {
        o.baud = std::stoi(value), ++i;
      } else if (a == "--answer-waiting" && has_value) {
        o.answer_waiting = static_cast<Byte>(std::stoi(value)), ++i;
      } else if (a == "--repeat-count" && has_value) {
        o.repeat_count = static_cast<Byte>(std::stoi(value)), ++i;
      } else if (a == "--log" && has_value) {
        o.log_folder = value, ++i;
      } else if (a == "--hang-seconds" && has_value) {
        o.hang_seconds = std::stod(value), ++i;
      } else if (a == "--pace") {
        o.pace = true;
      } else if (a == "--require-targets") {
        require_targets = true;
      } else {
        return Usage();
      }
    } catch (const std::exception&) {
      return Usage();
    }
  }
  if (o.classes.empty()) {
    for (const VariantTraits* t : ClassOrder()) o.classes.push_back(t->id);
  }
  if (o.receipts < 0 || !(o.faults >= 0 && o.faults <= 1)) return Usage();

  std::vector<Tally> tallies;
  Tally total;
  total.tag = "all";
  for (VariantId id : o.classes) {
    Tally& t = tallies.emplace_back();
    t.tag = Traits(id).tag;
    if (!Soak(id, o, t).Run()) return 1;
    total.Add(t);
  }
  if (tallies.size() > 1) tallies.push_back(total);
  PrintTable(tallies, o);
  std::fflush(stdout);
  if (!total.Sound()) return 1;
  return require_targets && !total.TargetsMet() ? 1 : 0;
}

const RegisterSubcommand kSoak{{"soak", "receipts on a simulated printer with line faults, every call checked", &RunSoak}};

}  // namespace
}  // namespace zorfp::tools
