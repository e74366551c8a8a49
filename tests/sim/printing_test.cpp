// Printing outside receipts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/model.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

TEST(PrintTest, LineFeedPrintsAnEmptyLineUnlessPaperIsOut) {
  PrinterModel m(Variant::kEp02);
  std::vector<std::string> tape;
  m.printing.tape = [&tape](std::string_view line) { tape.emplace_back(line); };
  EXPECT_EQ(Execute(m, Bytes{0x0E}).answer.result, 0);
  m.status.paper.receipt_out = true;
  const Answer refused = Execute(m, Bytes{0x0E}).answer;
  EXPECT_EQ(refused.result, result::kPaperOut);
  EXPECT_EQ(refused.status, 0x02);
  EXPECT_EQ(tape, std::vector<std::string>{""});
}

}  // namespace
}  // namespace zorfp::sim
