// A directory only this user can reach, for the instance lock and socket and,
// when no temporary directory is configured, the response and temporary files.
#pragma once
#include <string>

namespace vintorel {

// Makes `directory` (ending in "/") with mode 0700 when missing; true when it is
// now a directory of this user's that is no link (one open to others is closed
// to them first).
bool prepare_private_directory(const std::string& directory);

// The first usable of RUNTIME/vintorel/ (when `runtime` is an absolute path and
// the name fits `max_length`) and BASE/vintorel-<uid>/, BASE/vintorel-<uid>-1/
// ... -9/. The names are fixed, so a second start finds the first one's; a name
// that another user planted only moves this user to the next one. "" when
// none can be had.
std::string choose_private_directory(const std::string& runtime, const std::string& base, std::size_t max_length);

// The process's private directory from $XDG_RUNTIME_DIR and /tmp, chosen once.
const std::string& private_directory();

}  // namespace vintorel
