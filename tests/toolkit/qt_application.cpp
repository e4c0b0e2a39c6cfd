// The QApplication of this test program.
#include "qt_application.h"
