#include "link/frame.h"

#include <cstddef>

namespace zorfp {
namespace {

Byte* PutStuffed(Byte* out, Byte b) {
  *out++ = b;
  if (b == kDle) *out++ = kDle;
  return out;
}

// Length of the run of DLE bytes that ends at index `last` (inclusive).
std::size_t DleRunEndingAt(const Bytes& b, std::size_t last) {
  std::size_t n = 0;
  for (std::size_t i = last + 1; i-- > 0 && b[i] == kDle;) ++n;
  return n;
}

// A marker byte (STX or ETX) at `pos` is a real marker when an odd run of DLE precedes it.
bool IsMarkerAt(const Bytes& b, std::size_t pos, Byte marker) {
  return pos > 0 && b[pos] == marker && DleRunEndingAt(b, pos - 1) % 2 == 1;
}

}  // namespace

Bytes BuildFrame(Byte seq, const Bytes& command) {
  Bytes frame;
  BuildFrame(seq, command, frame);
  return frame;
}

void BuildFrame(Byte seq, const Bytes& command, Bytes& frame) {
  // Room for the worst case, every byte stuffed; written through a pointer, then cut to size.
  frame.resize(command.size() * 2 + 8);
  Byte* out = frame.data();
  *out++ = kDle;
  *out++ = kStx;
  out = PutStuffed(out, seq);
  // The checksum is the two's complement of the 8-bit sum, so that everything adds up to 0.
  unsigned sum = seq;
  for (Byte b : command) {
    sum += b;
    out = PutStuffed(out, b);
  }
  out = PutStuffed(out, static_cast<Byte>(0x100 - (sum & 0xFF)));
  *out++ = kDle;
  *out++ = kEtx;
  frame.resize(static_cast<std::size_t>(out - frame.data()));
}

bool EndsWithFrameEnd(const Bytes& buffer) {
  return buffer.size() >= 2 && IsMarkerAt(buffer, buffer.size() - 1, kEtx);
}

bool IsAnswerFrame(const Bytes& a) {
  if (a.empty()) return false;
  if (a[0] == kNak) return true;
  const std::size_t n = a.size();
  if (n < 3) return false;
  if (a[0] == kAck) return true;
  const bool ends = a[n - 2] == kDle && a[n - 1] == kEtx;
  if (a[1] == kDle && a[2] == kStx && ends) return true;
  return a[0] == kDle && a[1] == kStx && ends;
}

bool VerifyAnswerChecksum(const Bytes& a) {
  const std::size_t n = a.size();
  if (n < 3) return false;
  const Byte expected = a[n - 3];  // the byte before the end marker
  unsigned sum = 0;
  bool started = false;
  bool pair = false;
  // Positions 0 .. n-4: everything before the checksum byte itself.
  for (std::size_t k = 0; k + 3 < n; ++k) {
    const Byte b = a[k];
    if (b == kDle && a[k + 1] == kStx && DleRunEndingAt(a, k) % 2 == 1) continue;  // start marker
    if (IsMarkerAt(a, k, kStx)) {
      started = true;
      continue;
    }
    if (b == kDle && a[k + 1] == kDle && !pair) {
      pair = true;  // first byte of a stuffed pair
      continue;
    }
    pair = false;
    if (started) sum += b;
  }
  return static_cast<Byte>(0x100 - (sum & 0xFF)) == expected;
}

bool ParseAnswer(const Bytes& a, ParsedAnswer& out) {
  out.data.clear();
  return DecodeAnswer(a, out.status, out.result, out.reserve, out.data);
}

bool DecodeAnswer(const Bytes& a, Byte& status, Byte& result, Byte& reserve, Bytes& data) {
  if (a.empty() || !IsAnswerFrame(a)) return false;
  const std::size_t n = a.size();

  std::size_t begin = 0;  // first content byte
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (a[i] == kDle && a[i + 1] == kStx) {
      begin = i + 2;
      break;
    }
  }
  if (begin == 0 || n < 3) return false;
  const std::size_t checksum_at = (a[n - 3] == kDle && n >= 4 && a[n - 4] == kDle) ? n - 4 : n - 3;
  if (checksum_at < begin) return false;
  if (!VerifyAnswerChecksum(a)) return false;

  // Unstuffed on the fly: the five fixed bytes first, and the data only once they are all there,
  // so that a refused answer leaves `data` as it was.
  Byte fixed[5] = {};
  std::size_t have = 0;
  std::size_t i = begin;
  for (; i < checksum_at && have < 5; ++i) {
    fixed[have++] = a[i];
    if (a[i] == kDle && i + 1 < checksum_at && a[i + 1] == kDle) ++i;
  }
  if (have < 5) return false;
  status = fixed[2];
  result = fixed[3];
  reserve = fixed[4];
  data.clear();
  for (; i < checksum_at; ++i) {
    data.push_back(a[i]);
    if (a[i] == kDle && i + 1 < checksum_at && a[i + 1] == kDle) ++i;
  }
  return true;
}

}  // namespace zorfp
