// The program's icon from its resources (desktop/icons, drawn from one SVG).
#include "app/program_icon.h"

#include <QFile>
#include <QString>

namespace vintorel {

QIcon program_icon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QString path = QStringLiteral(":/icons/%1x%1/apps/vintorel.png").arg(size);
    if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
  }
  if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("vintorel"));
  return icon;
}

}  // namespace vintorel
