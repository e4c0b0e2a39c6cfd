// The program's icon "icon_main": the window's icon and the version box's.
#pragma once
#include <QIcon>

namespace vintorel {

// The sizes drawn into the program's resources; when the program was built
// without them, the icon theme's "vintorel" (null when neither is there).
QIcon program_icon();

}  // namespace vintorel
