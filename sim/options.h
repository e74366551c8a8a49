// How a simulator is set up: by the command line of zorfp-sim or directly by a test or the demo.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "sim/bytes.h"
#include "sim/faults.h"
#include "sim/framing.h"
#include "sim/variant.h"

namespace zorfp::sim {

// An answer given to a command code instead of executing the command.
using ForcedAnswer = Answer;

struct SimulatorOptions {
  Variant variant = Variant::kEp02;

  // Pty mode (device_path empty): the symbolic link to publish for the slave; empty publishes
  // nothing and path() is the slave's own name. Device mode: the link, if any, points at the device.
  std::string link_path;
  std::string device_path;

  int baud = 9600;         // the printer's line rate until command 0x26 changes it
  bool pace = false;       // send answers no faster than the line rate, and react to a frame no sooner
                           // than its last byte could have arrived at that rate
  std::string tape_path;   // printed lines go here (UTF-8); empty: nowhere
  std::string state_path;  // the JSON state is written here by Stop() and WriteStateFile()

  std::uint64_t seed = 1;
  FaultSettings faults;
  std::map<Byte, ForcedAnswer> forced;

  // How long the printer works on a command before the answer frame goes out. In that time it has
  // sent ACK and sends a SYN every syn_interval (zero: none) so that the host keeps waiting, and
  // answers any other frame with a lone SYN.
  std::chrono::milliseconds processing_time{0};
  std::map<Byte, std::chrono::milliseconds> processing_times;  // per command code, over the default
  std::chrono::milliseconds syn_interval{200};
};

// What the device has seen and done. Every complete frame counts in frames_received, whatever
// became of it.
struct Counters {
  std::uint64_t frames_received = 0;
  std::uint64_t bad_frames = 0;         // wrong checksum or shape: answered NAK
  std::uint64_t frames_abandoned = 0;   // cut short by a new start marker
  std::uint64_t stray_bytes = 0;        // outside any frame
  std::uint64_t commands_executed = 0;  // handed to the model (executed or refused by it)
  std::uint64_t commands_refused = 0;   // of those, answered with a non-zero result
  std::uint64_t unknown_commands = 0;   // of those, codes the variant does not know
  std::uint64_t repeats_answered = 0;   // resends answered from the cache, not executed again
  std::uint64_t forced_answers = 0;
  std::uint64_t answers_sent = 0;  // ACK and answer frame (possibly spoiled by a fault)
  std::uint64_t answers_lost = 0;  // executed, nothing sent
  std::uint64_t naks_sent = 0;
  std::uint64_t busy_syns = 0;       // lone SYN to a frame that came while busy
  std::uint64_t fault_syns = 0;      // lone SYN by the syn fault
  std::uint64_t keepalive_syns = 0;  // SYN between ACK and a slow answer
  std::uint64_t frames_ignored = 0;  // by the silent fault
  std::uint64_t host_hangups = 0;    // the host closed the port
};

}  // namespace zorfp::sim
