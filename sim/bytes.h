// Byte strings as the device sees them on the wire.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zorfp::sim {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

// The printer's own text: code page 866 bytes, kept as they travel.
using Cp866Text = std::string;

// "10 02 01" style, for messages and the state dump.
std::string HexString(std::span<const Byte> bytes);

}  // namespace zorfp::sim
