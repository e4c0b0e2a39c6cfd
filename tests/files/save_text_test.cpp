// Tests of the saving sequence: every injected failure leaves the file whole
// (old bytes or new, nothing else) and the text saveable; links, hard links,
// mode and group survive; unedited lines are written back as they were read.
#include "files/save_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "files/charset.h"
#include "files/file_seam.h"
#include "files/load_text.h"
#include "files/write_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;

// A disk with `room` bytes left for every write of the saving sequence.
std::size_t room = 0;
ssize_t write_until_full(int fd, const void* data, std::size_t size) {
  if (room == 0) return errno = ENOSPC, -1;
  std::size_t take = size < room ? size : room;
  room -= take;
  return ::write(fd, data, take);
}

class saving : public ::testing::Test {
 protected:
  void TearDown() override { file_seam::reset(); }

  // Loads `path`, types `typed` at the start of line `line`, and commits it.
  void open_and_edit(const std::string& path, std::int32_t line, const byte_string& typed, charset charset_code = shift_jis,
                     linefeed_kind linefeed_code = crlf) {
    load_text_file(document, path, false, 0, 0, 0, 0, charset_code, linefeed_code);
    ASSERT_EQ(document.state, unchanged_state);
    document.current_line = line;
    ASSERT_TRUE(document.load_current_line(8));
    document.current->text.insert(0, typed);
    document.current->length = static_cast<std::uint32_t>(document.current->text.size());
    document.commit_current_line();
    ASSERT_TRUE(document.is_modified());
  }
  save_result save(const std::string& path, bool backup = false) {
    save_options options;
    options.keep_backup = backup;
    return save_text_file(document, path, options);
  }

  test_support::scratch_dir dir;
  text_document document;
};

std::string numbered_lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + " of the text to save\r\n";
  return text;
}

TEST_F(saving, every_failure_leaves_the_old_bytes_and_a_text_that_saves_once_the_fault_is_gone) {
  const std::string old_bytes = numbered_lines(8000);  // about 270 KiB: several write buffers
  const std::string new_bytes = "new " + old_bytes;
  struct fault {
    const char* name;
    std::function<void()> inject;
  };
  std::vector<fault> faults = {
      {"fsync", [] { file_seam::fsync = [](int) { return errno = EIO, -1; }; }},
      {"close", [] { file_seam::close = [](int fd) { return ::close(fd), errno = EIO, -1; }; }},
      {"rename", [] { file_seam::rename = [](const char*, const char*) { return errno = EIO, -1; }; }},
  };
  // The disk fills up after every few kilobytes of the new text, and at its very end.
  for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{65536},
                        std::size_t{1} << 17, new_bytes.size() - 1})
    faults.push_back({"full disk", [n] {
                        room = n;
                        file_seam::write = write_until_full;
                      }});
  for (bool backup : {false, true}) {
    for (std::size_t i = 0; i < faults.size(); ++i) {
      const fault& f = faults[i];
      SCOPED_TRACE(std::string(f.name) + " " + std::to_string(i) + (backup ? " with backup" : ""));
      test_support::scratch_dir place;
      const std::string path = place.write("a.txt", old_bytes);
      open_and_edit(path, 0, "new ");
      f.inject();
      save_result result = save(path, backup);
      file_seam::reset();
      EXPECT_EQ(result.status, save_status::not_written);
      EXPECT_TRUE(read_bytes(path) == old_bytes);
      EXPECT_EQ(place.entry_count(), 1);  // no temporary file, no stray backup
      ASSERT_TRUE(document.is_modified());
      EXPECT_EQ(save(path, backup).status, save_status::saved);
      EXPECT_TRUE(read_bytes(path) == new_bytes);
      EXPECT_EQ(place.entry_count(), backup ? 2 : 1);
    }
  }
}

TEST_F(saving, a_link_a_hard_link_and_the_mode_and_group_are_kept) {
  const std::string real = dir.write("real.txt", "one\r\ntwo\r\n");
  const std::string link = dir / "link.txt", second = dir / "second-name.txt";
  ASSERT_EQ(::symlink("real.txt", link.c_str()), 0);  // relative, as users make them
  open_and_edit(link, 0, "1");
  EXPECT_EQ(save(link).status, save_status::saved);
  struct stat st;
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(read_bytes(real), "1one\r\ntwo\r\n");

  // Another name for the same file sees the new text too.
  ASSERT_EQ(::link(real.c_str(), second.c_str()), 0);
  open_and_edit(real, 1, "2", shift_jis, crlf);
  EXPECT_EQ(save(real, true).status, save_status::saved);
  EXPECT_EQ(read_bytes(second), "1one\r\n2two\r\n");
  struct stat a, b;
  ASSERT_EQ(::stat(real.c_str(), &a), 0);
  ASSERT_EQ(::stat(second.c_str(), &b), 0);
  EXPECT_EQ(a.st_ino, b.st_ino);
  EXPECT_EQ(dir.entry_count(), 4);  // real, link, second name and the backup

  // A failed rewrite in place is undone from the kept old bytes.
  open_and_edit(real, 0, "3");
  file_seam::write = [](int fd, const void* data, std::size_t size) -> ssize_t {
    static int calls = 0;
    // The temporary file and the kept copy are written; the rewrite is not.
    return ++calls == 3 ? (errno = EIO, -1) : ::write(fd, data, size);
  };
  EXPECT_EQ(save(real).status, save_status::not_written);
  file_seam::reset();
  EXPECT_EQ(read_bytes(second), "1one\r\n2two\r\n");
  EXPECT_EQ(dir.entry_count(), 4);

  // Mode and group of a file that is not the user's own group.
  const std::string shared = dir.write("shared.txt", "x\n");
  ASSERT_EQ(::chmod(shared.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(shared.c_str(), 0, 4321), 0);
  }
  open_and_edit(shared, 0, "y", shift_jis, lf);
  EXPECT_EQ(save(shared).status, save_status::saved);
  ASSERT_EQ(::stat(shared.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_gid, 4321u);
  }
  EXPECT_EQ(read_bytes(shared), "yx\n");
}

TEST_F(saving, unedited_lines_are_written_as_they_were_read) {
  // Characters code page 932 lacks: an emoji, a copyright sign, e acute, and a
  // JIS X 0212 character (0x8F prefix) in EUC-JP. One other line is edited.
  const struct {
    charset charset_code;
    linefeed_kind linefeed_code, save_linefeed;
    std::string in, out;
    std::int32_t first_lossy;  // the first line an edit would change beyond the edit
  } cases[] = {
      {utf8, lf, lf, "edit\n\xF0\x9F\x98\x80 smile\n\xC2\xA9 caf\xC3\xA9\nlast \xF0\x9F\x8D\xA3",
       "Xedit\n\xF0\x9F\x98\x80 smile\n\xC2\xA9 caf\xC3\xA9\nlast \xF0\x9F\x8D\xA3", 1},
      {utf8, lf, crlf, "edit\n\xF0\x9F\x98\x80\n\xC2\xA9\n", "Xedit\r\n\xF0\x9F\x98\x80\r\n\xC2\xA9\r\n", 1},
      {euc_jp, crlf, crlf, "edit\r\n\x8F\xB0\xA1 0212\r\n\xB4\xC1\r\nend \x8F\xB0\xA1",
       "Xedit\r\n\x8F\xB0\xA1 0212\r\n\xB4\xC1\r\nend \x8F\xB0\xA1", 1},
      {euc_jp, crlf, cr, "edit\r\n\xB4\xC1\r\n", "Xedit\r\xB4\xC1\r", -1},
      // Mixed line ends stay as they are when the line end is not changed.
      {shift_jis, lf, lf, "edit\na\r\nb\rc\n", "Xedit\na\r\nb\rc\n", -1},
      {shift_jis, lf, lf, "edit\nlast\r", "Xedit\nlast\r", -1},  // a final CR is the last line's own
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    const std::string path = dir.write("t.txt", c.in);
    open_and_edit(path, 0, "X", c.charset_code, c.linefeed_code);
    EXPECT_EQ(first_lossy_line(document, 1 << 20), c.first_lossy);
    document.save_linefeed = c.save_linefeed;
    EXPECT_EQ(save(path).status, save_status::saved);
    EXPECT_EQ(read_bytes(path), c.out);
  }
  // The edited line itself loses what Shift_JIS cannot hold.
  const std::string path = dir.write("t.txt", "\xF0\x9F\x98\x80\n");
  open_and_edit(path, 0, "X", utf8, lf);
  EXPECT_EQ(save(path).status, save_status::saved);
  EXPECT_EQ(read_bytes(path), "X?\n");
}

TEST_F(saving, a_file_rewritten_under_the_text_leaves_its_edits_in_a_rescue_file) {
  std::string text = numbered_lines(30000);  // more blocks than the text caches
  const std::string path = dir.write("a.txt", text);
  open_and_edit(path, 2, "edited ");
  dir.write("a.txt", "someone else's");
  save_result result = save(path);
  EXPECT_EQ(result.status, save_status::lines_unreadable);
  EXPECT_EQ(result.kept_path, path + ".rescue");
  EXPECT_EQ(read_bytes(result.kept_path), "3\tedited line 2 of the text to save\r\n30001\t");
  EXPECT_EQ(read_bytes(path), "someone else's");
  // A second rescue does not overwrite the first.
  result = save(path);
  EXPECT_NE(result.kept_path, path + ".rescue");
  EXPECT_EQ(read_bytes(result.kept_path), "3\tedited line 2 of the text to save\r\n30001\t");
  EXPECT_TRUE(document.is_modified());
}

}  // namespace
}  // namespace vintorel
