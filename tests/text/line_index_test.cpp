// The line index against a plain vector of records under random building and
// editing: file lines whose starts cross 4 GiB boundaries (so the low words of
// the starts wrap), in-memory lines inserted, replaced and erased singly and in
// ranges, and the record slots reused. File lines appended a list of line ends
// at a time agree with the same lines appended one by one.
#include "text/line_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vintorel {
namespace {

struct model_line {
  std::uint64_t offset;
  std::uint32_t length;
  byte_string text;
  std::int64_t file_line = -1;  // for in-memory lines
};

void expect_same(const line_index& index, const std::vector<model_line>& model) {
  ASSERT_TRUE(index.check());
  ASSERT_EQ(index.size(), static_cast<std::int32_t>(model.size()));
  for (std::size_t i = 0; i < model.size(); ++i) {
    auto at = static_cast<std::int32_t>(i);
    const model_line& line = model[i];
    ASSERT_EQ(index.offset(at), line.offset) << "line " << i;
    ASSERT_EQ(index.length(at), line.length) << "line " << i;
    ASSERT_EQ(index.is_in_memory(at), line.offset == in_memory) << "line " << i;
    ASSERT_EQ(index.text(at), line.text) << "line " << i;
  }
  // Runs of file lines that follow each other in the file, up and down.
  auto follows = [&](std::size_t i) {
    return model[i].file_line >= 0 && model[i - 1].file_line >= 0 && model[i].file_line == model[i - 1].file_line + 1;
  };
  for (std::size_t i = 0; i < model.size(); ++i) {
    auto at = static_cast<std::int32_t>(i);
    std::size_t up = i, down = i;
    if (model[i].file_line >= 0) {
      while (up + 1 < model.size() && follows(up + 1)) ++up;
      while (down > 0 && follows(down)) --down;
    }
    ASSERT_EQ(index.file_run_up(at, index.size()), static_cast<std::int32_t>(up)) << "line " << i;
    ASSERT_EQ(index.file_run_down(at, 0), static_cast<std::int32_t>(down)) << "line " << i;
    ASSERT_EQ(index.file_run_up(at, at + 1), at);
    ASSERT_EQ(index.file_run_down(at, at), at);
  }
}

TEST(line_index, random_building_and_editing_agree_with_a_plain_vector) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    line_index index;
    std::vector<model_line> model;
    // Some texts start just below a 4 GiB boundary, and some lines are almost
    // 4 GiB long, so starts wrap at the first line, in the middle, or twice in a row.
    std::uint64_t start = random() % 2 ? 0 : (std::uint64_t{1 + random() % 3} << 32) - random() % 64;
    index.begin_file_lines(start);
    const int file_lines = static_cast<int>(random() % 300);
    for (int i = 0; i < file_lines; ++i) {
      std::uint32_t length = random() % 20 == 0 ? UINT32_MAX - random() % 3 : random() % 90;
      ASSERT_TRUE(index.append_file_line(length));
      model.push_back({start, length, {}, i});
      start += length;
    }
    ASSERT_TRUE(index.append_memory_line("last\x1A"));
    model.push_back({in_memory, 5, "last\x1A"});
    index.compact();
    expect_same(index, model);

    for (int step = 0; step < 200; ++step) {
      auto size = static_cast<std::int32_t>(model.size());
      auto at = static_cast<std::int32_t>(random() % static_cast<unsigned>(size + 1));
      byte_string text(random() % 6, static_cast<char>('a' + step % 26));
      switch (random() % 4) {
        case 0:
          ASSERT_TRUE(index.insert(at, text));
          model.insert(model.begin() + at, {in_memory, static_cast<std::uint32_t>(text.size()), text});
          break;
        case 1:
          if (at == size) break;
          if (random() % 2) {
            ASSERT_TRUE(index.make_replaceable());
          }
          ASSERT_TRUE(index.replace(at, std::make_unique<line_record>(line_record{in_memory,
                                                                    static_cast<std::uint32_t>(text.size()), text})));
          model[static_cast<std::size_t>(at)] = {in_memory, static_cast<std::uint32_t>(text.size()), text};
          break;
        case 2:
          if (at == size || size == 1) break;
          index.erase(at);
          model.erase(model.begin() + at);
          break;
        default: {
          if (at == size || size == 1) break;
          // A range may reach past the end: only what is there goes.
          auto count = static_cast<std::int32_t>(random() % 40);
          auto gone = std::min(count, size - at);
          if (gone == size) break;
          index.erase(at, count);
          model.erase(model.begin() + at, model.begin() + at + gone);
        }
      }
      if (step % 10 == 0) expect_same(index, model);
    }
    expect_same(index, model);
    index.clear();
    EXPECT_TRUE(index.empty());
    EXPECT_TRUE(index.check());
  }
}

// Lists of line ends, some crossing 4 GiB boundaries (taken line by line),
// some starting with a line almost 4 GiB long, give the index single appends give.
TEST(line_index, lists_of_line_ends_agree_with_single_appends) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    line_index index;
    std::vector<model_line> model;
    std::uint64_t start = random() % 2 ? 0 : (std::uint64_t{1 + random() % 2} << 32) - random() % 5000;
    index.begin_file_lines(start);
    std::uint64_t longest = 0, longest_expected = 0;
    for (int list = 0; list < 40; ++list) {
      std::vector<std::uint64_t> file_ends;
      std::uint64_t end = start;
      const std::size_t count = random() % 60;
      for (std::size_t k = 0; k < count; ++k) {
        const std::uint64_t length = k == 0 && random() % 15 == 0 ? UINT32_MAX - random() % 2 : random() % 200;
        end += length;
        model.push_back({end - length, static_cast<std::uint32_t>(length), {}, static_cast<std::int64_t>(model.size())});
        longest_expected = std::max(longest_expected, length);
        file_ends.push_back(end);
      }
      // The ends are offsets from a base at most as far as the first end.
      const std::uint64_t base = count == 0 ? start : file_ends[0] - random() % 100;
      std::vector<std::uint32_t> ends;
      for (std::uint64_t file_end : file_ends) ends.push_back(static_cast<std::uint32_t>(file_end - base));
      ASSERT_TRUE(index.append_file_line_ends(base, ends.data(), ends.size(), longest));
      ASSERT_EQ(index.file_lines_end(), end);
      start = end;
    }
    EXPECT_EQ(longest, longest_expected);
    ASSERT_TRUE(index.append_memory_line("last\x1A"));
    model.push_back({in_memory, 5, "last\x1A"});
    expect_same(index, model);
  }
}

TEST(line_index, a_line_of_4_gib_in_a_list_is_refused) {
  line_index index;
  index.begin_file_lines(10);
  std::uint64_t longest = 0;
  const std::uint32_t fits[] = {UINT32_MAX};  // a line of 4 GiB - 1
  ASSERT_TRUE(index.append_file_line_ends(10, fits, 1, longest));
  EXPECT_EQ(longest, UINT32_MAX);
  const std::uint32_t ends[] = {0, 5};
  const std::uint64_t end = index.file_lines_end();
  EXPECT_FALSE(index.append_file_line_ends(end + (std::uint64_t{1} << 32), ends, 2, longest));
  EXPECT_FALSE(index.append_file_line_ends(end + UINT32_MAX - 4, ends + 1, 1, longest));
  EXPECT_EQ(index.size(), 1);
  EXPECT_TRUE(index.check());
}

// An index of over a million lines: its tables grow out of small pages into
// large ones, keeping every entry, and give the spare room back when compacted.
TEST(line_index, a_large_index_keeps_its_entries_as_its_tables_grow) {
  line_index index;
  index.begin_file_lines(0);
  std::uint64_t longest = 0;
  std::vector<std::uint32_t> ends(1000);
  std::uint64_t base = 0;
  const int lists = 1100;
  for (int list = 0; list < lists; ++list) {
    for (std::size_t k = 0; k < ends.size(); ++k) ends[k] = static_cast<std::uint32_t>(40 * (k + 1) + list % 7);
    ASSERT_TRUE(index.append_file_line_ends(base, ends.data(), ends.size(), longest));
    base += ends.back();
    if (list == 20) {
      // Edits in between grow the entries elsewhere.
      ASSERT_TRUE(index.insert(5, "x"));
      index.erase(5);
    }
  }
  ASSERT_EQ(index.size(), lists * 1000);
  EXPECT_TRUE(index.check());
  std::uint64_t offset = 0;
  for (int list = 0; list < lists; ++list) {
    const auto first = static_cast<std::int32_t>(list * 1000);
    ASSERT_EQ(index.offset(first), offset) << list;
    ASSERT_EQ(index.length(first), 40u + static_cast<std::uint32_t>(list % 7)) << list;
    ASSERT_EQ(index.length(first + 999), 40u) << list;
    offset += 40 * 1000 + list % 7;
  }
  index.compact();
  EXPECT_TRUE(index.check());
  EXPECT_LE(index.memory_bytes(), std::size_t{8} * lists * 1000 + 3 * 4096);
}

}  // namespace
}  // namespace vintorel
