// The installed editor: cmake --install into a temporary prefix, the files it
// puts there, and the installed editor started from a read-only prefix on
// Xvfb, keeping its settings and fonts in the user's folders. And one editor
// per display of the same user.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "desktop/desktop_support.h"
#include "platform/instance.h"

namespace vintorel {
namespace {

using namespace desktop_support;
namespace fs = std::filesystem;

const int icon_sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Runs a tool to its end with its output in `log`; its exit status.
int exit_status(std::vector<std::string> argv, const std::string& log) {
  int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  pid_t pid = spawn_child(std::move(argv), {}, "", out, log);
  if (out >= 0) ::close(out);
  return pid > 0 ? wait_for_child(pid, 120s) : -1;
}

// Installs this build into `prefix`; false when cmake --install fails.
bool install_into(const std::string& prefix, const std::string& log) {
  return exit_status({VINTOREL_CMAKE, "--install", VINTOREL_BINARY_DIR, "--prefix", prefix}, log) == 0;
}

// Every regular file under `root`, relative to it.
std::set<std::string> files_under(const std::string& root) {
  std::set<std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) out.insert(fs::relative(entry.path(), root).string());
  return out;
}

// Width and height from a PNG's header; 0 when it is no PNG.
std::pair<int, int> png_size(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto number = [&](std::size_t at) {
    int n = 0;
    for (std::size_t i = at; i < at + 4; ++i) n = n * 256 + static_cast<unsigned char>(bytes[i]);
    return n;
  };
  return {number(16), number(20)};
}

TEST(install, cmake_install_puts_the_editor_manual_launcher_and_icons_under_the_prefix) {
  scratch_dir dir;
  std::string prefix = dir.path("prefix");
  ASSERT_TRUE(install_into(prefix, dir.path("install.log"))) << dir.read("install.log");

  std::set<std::string> expected = {"bin/vintorel", "bin/mkfontx2", "share/vintorel/vintorel.txt",
                                    "share/applications/vintorel.desktop",
                                    "share/icons/hicolor/scalable/apps/vintorel.svg"};
  for (int size : icon_sizes)
    expected.insert("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/vintorel.png");
  EXPECT_EQ(files_under(prefix), expected);

  for (const char* program : {"bin/vintorel", "bin/mkfontx2"}) {
    struct stat st;
    ASSERT_EQ(::stat((prefix + "/" + program).c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IXUSR, 0u) << program;
  }
  // The manual is the Shift_JIS one the help dialog reads.
  EXPECT_EQ(test_support::read_bytes(prefix + "/share/vintorel/vintorel.txt"),
            test_support::read_bytes(std::string(VINTOREL_BINARY_DIR) + "/vintorel.txt"));
  for (int size : icon_sizes) {
    std::string name = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(png_size(test_support::read_bytes(prefix + "/share/icons/hicolor/" + name + "/apps/vintorel.png")),
              std::make_pair(size, size))
        << name;
  }

  std::string launcher = prefix + "/share/applications/vintorel.desktop";
  EXPECT_EQ(exit_status({"desktop-file-validate", launcher}, dir.path("validate.log")), 0) << dir.read("validate.log");
  std::string text = test_support::read_bytes(launcher);
  EXPECT_NE(text.find("\nExec=\"" + prefix + "/bin/vintorel\" %F\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nIcon=vintorel\n"), std::string::npos) << text;
  EXPECT_NE(text.find("MimeType=text/plain;"), std::string::npos) << text;
  EXPECT_NE(text.find("text/x-csrc;"), std::string::npos) << text;
}

class desktop_install_test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(x.display().empty()) << "Xvfb did not start"; }
  x_server x;
};

TEST_F(desktop_install_test, an_installed_read_only_editor_keeps_its_settings_and_fonts_in_the_user_folders) {
  desktop_editor editor(x, false);
  const scratch_dir& dir = editor.dir;
  std::string prefix = dir.path("prefix");
  ASSERT_TRUE(install_into(prefix, dir.path("install.log"))) << dir.read("install.log");
  std::set<std::string> installed = files_under(prefix);
  // Read-only for everyone but root; root is kept out by the installed layout.
  for (const auto& entry : fs::recursive_directory_iterator(prefix))
    fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  fs::permissions(prefix, fs::perms::owner_write, fs::perm_options::remove);

  fs::create_directories(dir.path("config/vintorel"));
  dir.write("config/vintorel/vintorel.ini", desktop_editor::key_settings);
  fs::create_directories(dir.path("work"));
  dir.write("work/a.txt", "first line\r\n");
  editor.program = prefix + "/bin/vintorel";
  editor.cwd = dir.path("work");
  editor.env.insert(editor.env.begin(), {"XDG_CONFIG_HOME=" + dir.path("config"), "XDG_DATA_HOME=" + dir.path("data")});

  ASSERT_TRUE(editor.start({dir.path("work/a.txt")})) << editor.log();
  for (const char* made : {"config/vintorel/program.ini", "config/vintorel/layout.ini",
                           "data/vintorel/mswhn16x.fnt", "data/vintorel/mswzn16x.fnt"})
    EXPECT_TRUE(fs::exists(dir.path(made))) << made;
  EXPECT_EQ(dir.read("config/vintorel/vintorel.ini"), desktop_editor::key_settings);
  std::string texts = editor.list();
  EXPECT_NE(texts.find(" " + dir.path("work/a.txt") + "\n"), std::string::npos) << texts;
  // Commands run where the editor was started, not in the program's folder.
  EXPECT_NE(texts.find("\ndirectory " + dir.path("work/") + "\n"), std::string::npos) << texts;

  EXPECT_EQ(editor.quit(), 0) << editor.log();
  EXPECT_EQ(files_under(prefix), installed) << "nothing is written beside the installed editor";
  EXPECT_TRUE(fs::exists(dir.path("config/vintorel/layout.ini")));
}

// Both editors use one private directory; each display has its own instance,
// and a second start hands over to the editor of its own display.
TEST_F(desktop_install_test, editors_on_two_displays_run_side_by_side_and_take_their_own_hand_overs) {
  x_server other;
  ASSERT_FALSE(other.display().empty()) << "the second Xvfb did not start";
  desktop_editor first(x), second(other);
  second.env.insert(second.env.begin(),
                    {"XDG_RUNTIME_DIR=" + first.dir.path("rt"), "TMP=" + first.dir.path("tmp/")});
  std::string a = first.dir.write("a.txt", "a\r\n"), b = first.dir.write("b.txt", "b\r\n");
  std::string c = first.dir.write("c.txt", "c\r\n"), d = first.dir.write("d.txt", "d\r\n");

  ASSERT_TRUE(first.start({a})) << first.log();
  ASSERT_TRUE(second.start({b})) << second.log();
  EXPECT_EQ(first.start_again({c}), 0) << first.log();
  EXPECT_EQ(second.start_again({d}), 0) << second.log();

  std::string on_first = first.list(), on_second = second.list();
  EXPECT_NE(on_first.find(" " + a + "\n"), std::string::npos) << on_first;
  EXPECT_NE(on_first.find(" " + c + "\n"), std::string::npos) << on_first;
  EXPECT_EQ(on_first.find(" " + d + "\n"), std::string::npos) << on_first;
  EXPECT_NE(on_second.find(" " + b + "\n"), std::string::npos) << on_second;
  EXPECT_NE(on_second.find(" " + d + "\n"), std::string::npos) << on_second;
  EXPECT_EQ(on_second.find(" " + c + "\n"), std::string::npos) << on_second;

  EXPECT_EQ(first.quit(), 0) << first.log();
  EXPECT_EQ(second.quit(), 0) << second.log();
}

}  // namespace
}  // namespace vintorel
