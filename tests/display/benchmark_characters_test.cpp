// The benchmark's walk over every double-byte code and its report line.
#include <gtest/gtest.h>

#include "display/benchmark_characters.h"
#include "platform/string_table.h"

namespace vintorel {
namespace {

TEST(BenchmarkCharacters, EveryCodeFrom8140To_FCFF_SixteenToALine) {
  benchmark_characters c;
  std::vector<std::vector<unsigned>> lines(1);
  for (;;) {
    lines.back().push_back(c.code());
    const benchmark_next next = advance(c);
    if (next == benchmark_next::finished) break;
    if (next == benchmark_next::line_end) lines.emplace_back();
    ASSERT_LT(lines.size(), 1000u);
  }
  ASSERT_EQ(lines.size(), 720u);
  for (const auto& line : lines) ASSERT_EQ(line.size(), 16u);
  EXPECT_EQ(lines[0].front(), 0x8140u);
  EXPECT_EQ(lines[0].back(), 0x814Fu);
  // The twelfth line ends the lead byte 0x81; the next starts at 0x8240.
  EXPECT_EQ(lines[11].back(), 0x81FFu);
  EXPECT_EQ(lines[12].front(), 0x8240u);
  // 31 lead bytes 0x81..0x9F, then 0xE0.
  EXPECT_EQ(lines[31 * 12 - 1].back(), 0x9FFFu);
  EXPECT_EQ(lines[31 * 12].front(), 0xE040u);
  EXPECT_EQ(lines.back().back(), 0xFCFFu);
}

TEST(BenchmarkCharacters, TheReportIsTheMillisecondsAndString18WithinTheBuffer) {
  EXPECT_EQ(benchmark_result_text(1234), "1234" + load_string(string_benchmark_done));
  const byte_string longest = benchmark_result_text(18446744073709551615ull);
  EXPECT_LE(longest.size(), 255u);
  EXPECT_EQ(longest.substr(0, 20), "18446744073709551615");
}

}  // namespace
}  // namespace vintorel
