#include "sim/cli.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace zorfp::sim {
namespace {

constexpr std::array kBaudRates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

template <typename T>
std::optional<T> ParseNumber(std::string_view s, int base = 10) {
  T v{};
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<Byte> ParseHexByte(std::string_view s) {
  if (s.empty() || s.size() > 2) return std::nullopt;
  return ParseNumber<Byte>(s, 16);
}

std::optional<Bytes> ParseHexData(std::string_view s) {
  if (s.size() % 2 != 0) return std::nullopt;
  Bytes out;
  for (std::size_t i = 0; i < s.size(); i += 2) {
    const auto b = ParseHexByte(s.substr(i, 2));
    if (!b) return std::nullopt;
    out.push_back(*b);
  }
  return out;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto at = s.find(sep);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return parts;
    s.remove_prefix(at + 1);
  }
}

// Applies one option with its value; returns the error text, empty when it was fine.
std::string Apply(std::string_view name, std::string_view value, SimulatorOptions& o) {
  if (name == "--variant") {
    const auto v = ParseVariant(value);
    if (!v) return "unknown variant '" + std::string(value) + "'";
    o.variant = *v;
  } else if (name == "--link") {
    o.link_path = value;
  } else if (name == "--device") {
    o.device_path = value;
  } else if (name == "--baud") {
    const auto baud = ParseNumber<int>(value);
    if (!baud || std::find(kBaudRates.begin(), kBaudRates.end(), *baud) == kBaudRates.end()) {
      return "unsupported baud rate '" + std::string(value) + "'";
    }
    o.baud = *baud;
  } else if (name == "--tape") {
    o.tape_path = value;
  } else if (name == "--state") {
    o.state_path = value;
  } else if (name == "--seed") {
    const auto seed = ParseNumber<std::uint64_t>(value);
    if (!seed) return "bad seed '" + std::string(value) + "'";
    o.seed = *seed;
  } else if (name == "--fault") {
    const auto eq = value.find('=');
    if (eq == std::string_view::npos) return "--fault wants NAME=VALUE";
    const std::string_view fault = value.substr(0, eq);
    const std::string_view setting = value.substr(eq + 1);
    if (fault == "delay-ms") {
      const auto ms = ParseNumber<unsigned>(setting);
      if (!ms) return "bad delay '" + std::string(setting) + "'";
      o.faults.delay = std::chrono::milliseconds(*ms);
      return {};
    }
    const auto kind = ParseFaultName(fault);
    if (!kind) return "unknown fault '" + std::string(fault) + "'";
    const auto rule = ParseFaultRule(setting);
    if (!rule) return "bad value for fault " + std::string(fault) + ": '" + std::string(setting) + "'";
    o.faults[*kind] = *rule;
  } else if (name == "--force") {
    const auto forced = ParseForcedAnswer(value);
    if (!forced) return "--force wants CC:SS:RR:VV[:DATAHEX] in hex, got '" + std::string(value) + "'";
    o.forced[forced->first] = forced->second;
  } else if (name == "--processing-ms") {
    const auto eq = value.find('=');
    const auto ms = ParseNumber<unsigned>(eq == std::string_view::npos ? value : value.substr(eq + 1));
    if (!ms) return "--processing-ms wants [CC=]MS";
    if (eq == std::string_view::npos) {
      o.processing_time = std::chrono::milliseconds(*ms);
    } else {
      const auto code = ParseHexByte(value.substr(0, eq));
      if (!code) return "--processing-ms wants [CC=]MS with CC in hex";
      o.processing_times[*code] = std::chrono::milliseconds(*ms);
    }
  } else if (name == "--syn-interval-ms") {
    const auto ms = ParseNumber<unsigned>(value);
    if (!ms) return "bad SYN interval '" + std::string(value) + "'";
    o.syn_interval = std::chrono::milliseconds(*ms);
  } else {
    return "unknown option '" + std::string(name) + "'";
  }
  return {};
}

}  // namespace

std::optional<std::pair<Byte, ForcedAnswer>> ParseForcedAnswer(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, ':');
  if (parts.size() != 4 && parts.size() != 5) return std::nullopt;
  std::array<Byte, 4> head{};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto b = ParseHexByte(parts[i]);
    if (!b) return std::nullopt;
    head[i] = *b;
  }
  ForcedAnswer answer{head[1], head[2], head[3], {}};
  if (parts.size() == 5) {
    const auto data = ParseHexData(parts[4]);
    if (!data) return std::nullopt;
    answer.data = *data;
  }
  return std::pair{head[0], answer};
}

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine cl;
  bool have_variant = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    if (name == "--help" || name == "-h") {
      cl.help = true;
      return cl;
    }
    if (name == "--pace") {
      cl.options.pace = true;
      continue;
    }
    std::string_view value;
    if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string_view::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      cl.error = "option '" + std::string(name) + "' wants a value";
      return cl;
    }
    if (std::string error = Apply(name, value, cl.options); !error.empty()) {
      cl.error = std::move(error);
      return cl;
    }
    have_variant = have_variant || name == "--variant";
  }
  if (!have_variant) {
    cl.error = "--variant is required";
  } else if (cl.options.link_path.empty() && cl.options.device_path.empty()) {
    cl.error = "--link PATH (or --device DEV) is required";
  }
  return cl;
}

std::string HelpText() {
  return R"(zorfp-sim: a fiscal printer on a serial line, for tests, demos and benchmarks.

Usage:
  zorfp-sim --variant {EP-01|08-01|EP-02|EP-05|EP-06|05-02|05-03} --link PATH
            [--device DEV] [--baud N] [--pace] [--tape FILE] [--state FILE] [--seed N]
            [--fault NAME=VALUE]... [--force CC:SS:RR:VV[:DATAHEX]]...
            [--processing-ms [CC=]MS]... [--syn-interval-ms MS]

Once it serves, with the link in place, it prints one line "ready PATH" (PATH: what the host
opens; a script waits for that line before it opens PATH) and serves until
SIGTERM or SIGINT, then writes the state file and exits 0. SIGUSR1 writes the state file at once
(to standard error without --state). Exit status 2: bad command line; 1: could not start.

Options:
  --variant V        protocol variant the printer speaks.
  --link PATH        create a pseudo-terminal and a symbolic link PATH to its slave; the host
                     opens PATH. With --device, PATH links to the device instead.
  --device DEV       serve an existing serial device (raw, 8N1, no flow control).
  --baud N           the printer's line rate (1200 to 115200; default 9600). Command 0x26 changes it:
                     speed index 0, 1, 2 select 9600, 19200, 115200.
  --pace             send answer bytes no faster than the line rate (10 bits a byte) and react to a
                     frame no sooner than its last byte could have arrived.
  --tape FILE        append what the printer prints to FILE as UTF-8 text.
  --state FILE       JSON dump of the printer and its counters, on exit and on SIGUSR1.
  --seed N           seed of the fault generator (default 1); the same seed repeats a run.
  --fault NAME=VALUE inject a fault. VALUE is a probability 0..1 per received frame ("0.2", "1"),
                     or a count: "3x" strikes the next three frames, "1x@5" only the fifth.
                       silent        do not answer at all (1 = never answer); nothing executed
                       nak           answer NAK; nothing executed
                       syn           answer a lone SYN, as if busy; nothing executed
                       lose-answer   execute, then send nothing (a resend gets the kept answer)
                       truncate      send only the beginning of the answer
                       drop-byte     leave one byte of the answer out
                       corrupt-byte  change one byte of the answer
                       noise         send 1 to 8 random non-control bytes before the answer
                       delay-ms      VALUE in milliseconds: wait that long before every answer
  --force CC:SS:RR:VV[:DATAHEX]
                     answer command CC with status SS, result RR, reserve VV and the data, all in
                     hex, instead of executing it. Example: --force 30:00:00:00:48
  --processing-ms [CC=]MS
                     the printer works MS milliseconds on every command (or on command CC): it sends
                     ACK at once, a SYN every --syn-interval-ms, then the answer, and answers any
                     frame that comes meanwhile with a lone SYN.
  --syn-interval-ms MS  keep-alive SYN interval while working (default 200; 0: none).
  --help             this text.

A frame that repeats the sequence number and the bytes of the command answered last is a resend:
the printer answers it again from memory and does not execute it twice.
)";
}

}  // namespace zorfp::sim
