// File dialogs over QFileDialog.
#include "toolkit/file_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"
#include "platform/string_table.h"

namespace vintorel {

bool file_dialog(QWidget* owner, int title_id, int first_filter_id,
                 const std::vector<byte_string>& patterns, byte_string& path,
                 const byte_string& initial_directory, bool save) {
  if (user_interface* responder = box_responder()) {
    byte_string answer = initial_directory;
    if (!responder->choose_file(save, answer)) return false;
    path = answer;
    return true;
  }

  QStringList filters;
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    // "*.*" means every file; here a name need not contain a dot.
    QString pattern = patterns[k] == "*.*" ? QStringLiteral("*") : to_qstring(patterns[k]);
    filters << to_qstring(load_string(first_filter_id + static_cast<int>(k))) + " (" + pattern + ")";
  }
  QFileDialog dialog(owner);
  if (title_id >= 0) dialog.setWindowTitle(to_qstring(load_string(title_id)));
  dialog.setNameFilters(filters);
  dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(initial_directory)));
  if (!path.empty()) dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(path)));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  QByteArray chosen = QFile::encodeName(dialog.selectedFiles().front());
  if (chosen.isEmpty() || chosen.size() > 255) return false;
  path = chosen.toStdString();
  return true;
}

}  // namespace vintorel
