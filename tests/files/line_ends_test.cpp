// The vector line-end finder against a byte-by-byte model, each way the
// machine can run it: ends next to the 64-byte window edges, CRs whose next
// byte lies in the next window or past the bytes given, 0x1A with line ends
// behind it, and no write past the room the caller gives.
#include "files/line_ends.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vintorel {
namespace {

struct found_ends {
  std::vector<std::uint32_t> ends;
  std::size_t stop = 0;
  bool operator==(const found_ends& other) const { return ends == other.ends && stop == other.stop; }
};

void PrintTo(const found_ends& found, std::ostream* out) {
  *out << "stop " << found.stop << " ends";
  for (std::uint32_t end : found.ends) *out << ' ' << end;
}

found_ends model(const std::string& bytes) {
  found_ends found;
  found.stop = bytes.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1A') {
      found.stop = i;
      break;
    }
    const bool lone_cr = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] != '\n';
    if (bytes[i] == '\n' || lone_cr) found.ends.push_back(static_cast<std::uint32_t>(i + 1));
  }
  return found;
}

const vector_way ways[] = {vector_way::portable, vector_way::sse2, vector_way::avx2, vector_way::avx512};

// The finder's answer for `bytes` placed `shift` bytes into a buffer, with a
// guard behind the entries the caller must provide.
found_ends run(vector_way way, const std::string& bytes, std::size_t shift) {
  std::string buffer(shift, 'p');
  buffer += bytes;
  constexpr std::uint32_t guard = 0xDEADBEEF;
  std::vector<std::uint32_t> ends(bytes.size() + line_ends_slack + 4, guard);
  found_ends found;
  const std::size_t count = find_line_ends_by(way, buffer.data() + shift, bytes.size(), ends.data(), found.stop);
  for (std::size_t k = bytes.size() + line_ends_slack; k < ends.size(); ++k) EXPECT_EQ(ends[k], guard) << k;
  found.ends.assign(ends.begin(), ends.begin() + static_cast<std::ptrdiff_t>(count));
  return found;
}

void expect_every_way(const std::string& bytes) {
  const found_ends expected = model(bytes);
  for (vector_way way : ways) {
    if (!vector_way_available(way)) continue;
    for (std::size_t shift : {0, 1, 7}) {
      SCOPED_TRACE("way " + std::to_string(static_cast<int>(way)) + " shift " + std::to_string(shift));
      EXPECT_EQ(run(way, bytes, shift), expected);
    }
  }
}

// `size` bytes of 'x' with the given bytes put in at the given places.
std::string filled(std::size_t size, std::initializer_list<std::pair<std::size_t, char>> put) {
  std::string bytes(size, 'x');
  for (const auto& [at, b] : put) bytes[at] = b;
  return bytes;
}

TEST(line_ends, window_edges) {
  const std::string cases[] = {
      "",
      "\n",
      "\r",  // a CR as the last byte waits
      "\r\n",
      "a\rb",
      // Line ends in the last and first places of windows.
      filled(128, {{62, '\n'}, {63, '\n'}, {64, '\n'}, {127, '\n'}}),
      filled(128, {{0, '\n'}, {63, '\r'}, {65, '\r'}}),
      // CR LF split over two windows; a CR at a window's end before another byte.
      filled(130, {{63, '\r'}, {64, '\n'}, {127, '\r'}, {128, 'y'}}),
      // A CR at a window's end that is also the last byte given, or one short of it.
      filled(64, {{63, '\r'}}),
      filled(65, {{63, '\r'}, {64, '\r'}}),
      filled(63, {{62, '\r'}}),
      filled(128, {{126, '\r'}, {127, '\r'}}),
      // 0x1A inside a window with line ends after it, and a CR right before it.
      filled(128, {{10, '\n'}, {30, '\r'}, {31, '\x1A'}, {32, '\n'}, {40, '\r'}, {90, '\n'}}),
      filled(128, {{63, '\r'}, {64, '\x1A'}, {70, '\n'}}),
      filled(128, {{0, '\x1A'}, {1, '\n'}}),
      filled(200, {{5, '\n'}, {127, '\x1A'}}),
      filled(70, {{66, '\n'}, {69, '\x1A'}}),  // in the short window at the end
      // Every byte a line end: more ends in one window than the unrolled path takes.
      std::string(130, '\n'),
      std::string(130, '\r'),
      std::string(64, '\r') + "\n",
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(::testing::PrintToString(bytes.size()));
    expect_every_way(bytes);
  }
}

TEST(line_ends, random_bytes_dense_in_line_ends) {
  std::mt19937 random(2024);
  const char alphabet[] = {'\r', '\n', 'a', 'b', 'c', '\x82', '\r', 'd'};
  for (int round = 0; round < 400; ++round) {
    std::size_t size = random() % 300;
    if (round % 40 == 0) size = 4096 + random() % 3 - 1;
    std::string bytes(size, 'a');
    for (auto& b : bytes) b = random() % 700 == 0 ? '\x1A' : alphabet[random() % sizeof alphabet];
    SCOPED_TRACE(round);
    expect_every_way(bytes);
  }
}

}  // namespace
}  // namespace vintorel
