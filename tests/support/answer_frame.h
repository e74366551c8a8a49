// A printer's answer frame as it goes on the wire, for the scripted peer and the fuzz targets.
#pragma once


#include "link/bytes.h"

namespace zorfp::testing {

// ACK (unless `with_ack` is false), then DLE STX seq code status result reserve data checksum
// DLE ETX, every DLE inside doubled.
Bytes AnswerFrame(Byte seq, Byte code, Byte status, Byte result, Byte reserve, const Bytes& data = {},
                  bool with_ack = true);

}  // namespace zorfp::testing
