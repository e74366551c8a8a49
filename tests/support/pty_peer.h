// A scripted printer on a real pseudo-terminal: it collects every frame the driver writes and
// answers each with whatever the test's script returns. Tests see the exact bytes on the wire.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/bytes.h"
#include "support/answer_frame.h"

namespace zorfp::testing {

// One step of an answer: bytes to write, after an optional delay.
struct Reply {
  Bytes bytes;
  std::chrono::milliseconds delay{0};
};

class PtyPeer {
 public:
  // Given the frame just received (raw, as on the wire) and its 0-based index, returns the replies.
  using Script = std::function<std::vector<Reply>(const Bytes& frame, std::size_t index)>;

  PtyPeer();
  ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  // The slave device the driver opens.
  const std::string& path() const { return path_; }

  void SetScript(Script script);
  // Unframed mode (the modem's raw exchange): every chunk read is handed over as it comes.
  using RawScript = std::function<std::vector<Reply>(const Bytes& chunk)>;
  void SetRawScript(RawScript script);
  std::vector<Bytes> Frames() const;
  std::size_t FrameCount() const;

 private:
  void Serve();
  void HandleFrame(const Bytes& frame);

  int master_ = -1;
  int slave_ = -1;  // held open so the master never sees a hang-up between the driver's opens
  std::string path_;
  mutable std::mutex mutex_;
  Script script_;
  RawScript raw_script_;
  std::vector<Bytes> frames_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The sequence number and command code of a frame the driver sent (unstuffed).
Byte FrameSeqOf(const Bytes& frame);
Byte FrameCodeOf(const Bytes& frame);

// A script that answers every frame with status, result and reserve 0 and `data`.
PtyPeer::Script AnswerAll(const Bytes& data = {});

std::string Hex(const Bytes& bytes);
Bytes FromHex(const std::string& hex);

}  // namespace zorfp::testing
