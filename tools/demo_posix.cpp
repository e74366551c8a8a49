// `zorfp demo`: a receipt on a simulated printer, with no hardware and no setup. It starts the
// simulator on a pseudo-terminal in this process, drives it through the same by-name dispatch any
// client uses (each call printed with its result), and then prints the printer's paper tape.
// `--day` ends the day after the receipt: an X report, the Z report, and what the Z report left.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/simulator.h"
#include "tools/demo_setup_settings.h"
#include "tools/demo_setup_taxes.h"
#include "tools/json.h"
#include "tools/run_script.h"
#include "tools/subcommand.h"
#include "variants/traits.h"

namespace zorfp::tools {
namespace {

// The newer interfaces: a bakery receipt with a discount, a comment and two payment forms.
std::string NewerReceipt(const std::string& port) {
  return "FPInitEx \"" + port + "\" 115200 1 1\n" +
         R"(GetSerialNumber
GetFiscalNumber
FPSale 2000 3 false 1850 etgTax_A false "Хліб житній" 4820000000011
FPSale 1 0 true 2490 etgTax_B false "Молоко 2,5%" 4820000000028
FPSale 3 0 false 1200 etgTax_A false "Булочка з маком" 4820000000035
FPDiscount edtRelItemDisc 1000 "Знижка 10%"
GetCheckTotal
FPComment "Дякуємо за покупку!" false
FPPayment eptCardPayment 5000 false true
GetBalance
FPPayment eptCashPayment 5000 true true
GetBalance
GetBalanceType
FPClose
)";
}

// EP-01 and 08-01: methods without results; the outcome is in the call result of each line.
std::string OlderReceipt(const std::string& port, bool eight_o_one) {
  std::string s = "FPInitEx \"" + port + "\"" + (eight_o_one ? "" : " 9600") + " 1 1\n";
  s += R"(FPSale 2000 3 1850 0 "Хліб житній" 11
FPSale 1 0 2490 1 "Молоко 2,5%" 28
FPComment "Дякуємо за покупку!" false
FPPayment 0 5000 false true "VISA *1234"
FPPayment 3 5000 true false ""
FPClose
)";
  return s;
}

// The evening: an X report, the Z report that closes the day, and what the printer kept of it.
std::string DayEnd(const VariantTraits& traits) {
  if (traits.older_family) return "FPDayReport 0\nFPDayClrReport 0\nFPGetNumZReport\n";
  std::string s = "FPDayReport 0\nFPDayClrReport 0\nGetNumZReport\nGetLastDateZReport\n";
  if (traits.has_active_port) s += "FPGetFMDay 1\nGetRepDateEx\nGetRepSaleReceipts\nGetRepTurnSaleOnTax_A\n";
  return s;
}

std::string WithDayEnd(std::string script, const VariantTraits& traits) {
  const std::string close = "FPClose\n";
  return script.insert(script.rfind(close), DayEnd(traits));
}

void PrintTape(const std::filesystem::path& tape, bool json) {
  std::ifstream in(tape);
  std::ostringstream text;
  text << in.rdbuf();
  if (json) {
    std::cout << JsonText(Json{{"tape", text.str()}}) << '\n' << std::flush;
  } else {
    std::cout << "\n--- the printer's paper tape ---\n" << text.str() << std::flush;
  }
}

constexpr const char* kUsage =
    "usage: zorfp demo [--class NAME] [--setup] [--day] [--json]\n"
    "\n"
    "Starts a simulated printer of the class's protocol variant (default ZOR_05_03) on a\n"
    "pseudo-terminal, prints a receipt on it through the driver's members, each call with its\n"
    "arguments and result, then the printer's paper tape. With --json every line is a JSON\n"
    "object: one a call (\"args\" its arguments), and {\"tape\": ...} last. With --setup the\n"
    "fresh printer is programmed first (taxes, header, cashier, articles); with --day the\n"
    "receipt is followed by an X report and the Z report that closes the day.\n";

int RunDemo(std::span<const std::string_view> args) {
  std::string cls = "ZOR_05_03";
  bool json = false;
  bool setup = false;
  bool day = false;
  std::vector<std::string_view> script_args{"--show-args"};
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--class" && i + 1 < args.size()) {
      cls = args[++i];
    } else if (args[i] == "--setup") {
      setup = true;
    } else if (args[i] == "--day") {
      day = true;
    } else if (args[i] == "--json") {
      json = true;
      script_args.push_back(args[i]);
    } else {
      std::fprintf(stderr, "%s", kUsage);
      return 1;
    }
  }
  const auto id = FindVariant(cls);
  if (!id) {
    std::fprintf(stderr, "zorfp demo: unknown class %s\n", cls.c_str());
    return 1;
  }
  const VariantTraits& traits = Traits(*id);

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zorfp-demo-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  sim::SimulatorOptions options;
  options.variant = *sim::ParseVariant(traits.tag);
  options.link_path = (dir / "printer").string();
  options.tape_path = (dir / "tape.txt").string();
  sim::Simulator printer(options);
  printer.Start();

  const std::filesystem::path script = dir / "receipt.zorfp";
  {
    std::ofstream out(script);
    std::string receipt = traits.older_family ? OlderReceipt(printer.path(), *id == VariantId::k08_01)
                                              : NewerReceipt(printer.path());
    // The programming steps go right after the line that opens the port.
    if (setup) receipt.insert(receipt.find('\n') + 1, TaxesSetupScript(traits) + SettingsSetupScript(traits));
    out << (day ? WithDayEnd(std::move(receipt), traits) : receipt);
  }
  if (!json) {
    std::cout << "A receipt on a simulated " << traits.tag << " printer (" << traits.coclass << "), through "
              << printer.path() << ":\n\n"
              << std::flush;
  }
  const std::string class_arg = traits.coclass;
  script_args.insert(script_args.begin(), {"--class", class_arg});
  const std::string script_path = script.string();
  script_args.push_back(script_path);
  const int status = RunScript(script_args);

  printer.Stop();
  PrintTape(options.tape_path, json);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return status;
}

const RegisterSubcommand kDemo{
    {"demo", "print a receipt on a simulated printer (no hardware needed)", &RunDemo, kUsage}};

}  // namespace
}  // namespace zorfp::tools
