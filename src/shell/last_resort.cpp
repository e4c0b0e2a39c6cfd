// Rescuing modified texts when the process is about to end abnormally.
#include "shell/last_resort.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "files/file_system.h"
#include "files/save_text.h"
#include "shell/workspace.h"

namespace vintorel {

namespace {

workspace* rescued_workspace = nullptr;

[[noreturn]] void rescue_and_abort() {
  // Only once: a failure inside the rescue must not loop back here.
  workspace* work = rescued_workspace;
  rescued_workspace = nullptr;
  if (work) {
    std::fprintf(stderr, "vintorel: ending after an error it cannot recover from\n");
    for (const std::string& line : rescue_modified_texts(*work)) std::fprintf(stderr, "vintorel: %s\n", line.c_str());
  }
  std::abort();
}

}  // namespace

std::vector<std::string> rescue_modified_texts(workspace& work) {
  std::vector<std::string> lines;
  for (int i = 1; i < work.text_count(); ++i) {
    text_document& document = work.text_at(i);
    if (!document.is_usable() || !document.is_modified()) continue;
    // A new text has no file to stand beside; it goes to the temporary directory.
    const bool unnamed = document.name.empty() || document.name == "???";
    const std::string path = unnamed ? temporary_directory() + "untitled" : document.name;
    const std::string rescue = rescue_text(document, path);
    lines.push_back((unnamed ? std::string("???") : document.name) + (rescue.empty() ? ": lost" : " -> " + rescue));
  }
  return lines;
}

void install_last_resort(workspace* work) {
  rescued_workspace = work;
  std::set_terminate(work ? rescue_and_abort : nullptr);
}

}  // namespace vintorel
