// Reading the printer's answers safely: exchanges whose answer is used whatever the printer's
// status and result say, and the length checks that keep every decode inside the answer's data.
#pragma once

#include <cstddef>

#include "driver/driver.h"

namespace zorfp {

// Exchange only: false (and "does not answer" reported) when no answer could be decoded. The
// printer's status and result bytes are left unjudged; the call state stays as the exchange left it.
bool ExchangeUnjudged(Driver& d, const Bytes& command);

// The answer's data must hold at least `size` bytes: none at all is code 102, too few is 103.
// Nothing past the end of an answer is ever read.
bool RequireData(Driver& d, std::size_t size);

// A one-byte answer of the wrong length: code 103 with the driver's status 255.
bool RejectWithDriverStatus(Driver& d, Byte code, const Message& text);

}  // namespace zorfp
