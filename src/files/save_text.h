// Saving a text over its file so that no failure can cost a byte: the new text
// is written whole and synced before anything is done to the file, and the file
// under its name is at every moment either its old bytes or the new ones.
//
// The usual way is a private temporary file in the file's own directory, given
// the file's mode, owner and group, synced and renamed over the file; a link
// keeps pointing at the file it names, which gets the new text. Only a file
// with other hard links, a directory the user cannot write, or an owner or group
// the new file cannot be given, is rewritten in place: then the old bytes are
// first kept in a copy (the backup, or a stamped copy removed afterwards), the
// space is reserved, and a failed rewrite is undone from that copy.
#pragma once
#include <memory>
#include <string>

#include "files/written_file.h"
#include "text/text_document.h"

namespace vintorel {

enum class save_status {
  saved,             // the file holds the new text
  not_written,       // the file is as it was; the text stays open as it was
  kept_elsewhere,    // the file could not be given the new text nor its old bytes
                     // back; `kept_path` holds the whole new text
  lines_unreadable,  // the file changed under the text so that unedited lines can no
                     // longer be read; `kept_path` holds the edited lines ("" when
                     // even they could not be written)
};

struct save_result {
  save_status status = save_status::not_written;
  bool backup_failed = false;  // the old file could not be kept under its backup name
  std::string kept_path;
  // With save_options::keep_written, when the new file was renamed into place:
  // its index as the writer recorded it, for load_text_file to open it unread.
  std::unique_ptr<written_file> written;
};

struct save_options {
  bool keep_backup = false;   // keep the old file under its time-stamped backup name
  int tab_size = 8;           // for placing the cursor again after writing
  bool keep_written = false;  // the file will be opened again at once
};

// Writes `document` to `path` (its own file, or a new name) as described above.
// The text stays open and readable whatever the result.
save_result save_text_file(text_document& document, const std::string& path, const save_options& options);

// The last resort when the editor cannot go on: the whole text (or, when its
// unedited lines cannot be read any more, its edited lines with their numbers)
// in a new file beside `path` named NAME.rescue. The rescue file's path, or "".
std::string rescue_text(text_document& document, const std::string& path);

}  // namespace vintorel
