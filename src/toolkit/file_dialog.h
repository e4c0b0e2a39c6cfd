// The open and save file dialogs.
#pragma once
#include <vector>

#include "platform/byte_string.h"

class QWidget;

namespace vintorel {

// Shows the file dialog: the title from string `title_id` (none for -1), one
// filter per pattern named by strings first_filter_id, first_filter_id + 1,
// ... and shown as "name (pattern)"; `path` is the file name to start with
// and receives the chosen file; the dialog starts in `initial_directory`.
// Opening needs an existing file; saving asks before overwriting one. False
// when cancelled, and when the chosen path does not fit in 255 bytes (a cut
// path would name another file). Answered by the box responder when one is set.
bool file_dialog(QWidget* owner, int title_id, int first_filter_id,
                 const std::vector<byte_string>& patterns, byte_string& path,
                 const byte_string& initial_directory, bool save);

}  // namespace vintorel
