// Opening a file of this user in a directory others may write to (a temporary
// directory) so that no one else can plant it, redirect it or read it.
#pragma once
#include <string>

namespace vintorel {

// Opens `path` for writing, creating it with mode 0600. A link is never
// followed and a FIFO or device never blocks; an existing file is used only
// when it is a regular file of this user with no other name, and only then is
// it emptied and made mode 0600. The descriptor, or -1 when refused or failed.
int open_private_for_writing(const std::string& path);

// Opens `path` for reading under the same rules (nothing is changed); -1 when
// refused or failed.
int open_private_for_reading(const std::string& path);

}  // namespace vintorel
