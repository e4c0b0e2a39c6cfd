// Writing a text to a file in its save character set and line end.
#pragma once
#include <ctime>
#include <string>

#include "files/written_file.h"
#include "text/text_document.h"

namespace vintorel {

enum class write_status {
  written,
  open_failed,        // the file could not be created or opened
  unreadable_line,    // an unedited line can no longer be read from the text's file
  conversion_failed,  // a line could not be converted (or memory ran out)
  write_failed,       // the disk refused a write, the sync or the close
};

// Writes every line into `fd` (from its current offset) in document.save_charset
// and save_linefeed, then syncs and closes `fd`, whatever happens. When the save
// character set is the file's, a line that was not edited is copied from the
// file byte for byte and only its line end is rewritten (when the save line end
// differs); other lines are converted from the internal form. With `written`,
// the index and block checksums of what was written are kept there (usable
// only when the text was written whole), for opening the file again unread.
write_status write_text_to(text_document& document, int fd, int tab_size = 8, written_file* written = nullptr);

// The same into `path`, created or emptied; false on any failure (the file at
// `path` may then hold part of the text).
bool write_text(text_document& document, const std::string& path, int tab_size = 8);

// Every line that lives in memory (edited, split or joined, and the last line),
// each as its 1-based line number, a TAB and its text in the save character set
// and line end, into `fd` (synced and closed): what can still be saved of a
// text whose file changed under it. The cursor line is committed and loaded again.
write_status write_edited_lines(text_document& document, int fd, int tab_size = 8);

// The first line among the first `byte_budget` bytes of a UTF-8 or EUC-JP file
// that the internal form cannot hold as it is (decoding it and encoding it back
// does not give its bytes): editing it would lose characters. -1 when there is
// none (or the file is in another character set).
std::int32_t first_lossy_line(text_document& document, std::uint64_t byte_budget);

// "dir/a.txt" -> "dir/a(20110203040506).txt"; the stamp goes before the last "."
// that follows the last "/" or "\", else at the end.
std::string backup_name(const std::string& path, const std::tm& local_time);
std::string backup_name(const std::string& path);  // with the current local time

}  // namespace vintorel
