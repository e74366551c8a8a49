// The memory read: what the host reads by address.
#include <gtest/gtest.h>

#include "sim/model.h"

namespace zorfp::sim {
namespace {

TEST(MemoryTest, CutterByteFollowsTheRegister) {
  PrinterModel m(Variant::kEp05);
  const Bytes read_cutter = {0x1C, 0x1A, 0x30, 0x10, 0x01};
  EXPECT_EQ(Execute(m, read_cutter).answer.data, Bytes{0x00});
  m.printing.cutter_enabled = false;
  EXPECT_EQ(Execute(m, read_cutter).answer.data, Bytes{0x08});
}

TEST(MemoryTest, ReadsWhatWasWrittenAndZeroElsewhere) {
  PrinterModel m(Variant::k0503);
  m.memory.Write(0x10, 0x0501, Bytes{0x2A, 0x01});
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0x00, 0x05, 0x10, 0x04}).answer.data, (Bytes{0x00, 0x2A, 0x01, 0x00}));
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0x01, 0x05, 0x00, 0x02}).answer.data, (Bytes{0x00, 0x00}));
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0xFF, 0xFF, 0x10, 0x01}).answer.data, (Bytes{0x00}));
}

}  // namespace
}  // namespace zorfp::sim
