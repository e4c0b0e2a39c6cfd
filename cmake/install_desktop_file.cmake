# Run by cmake --install: writes the launcher with the installed editor's full
# path in Exec, so that it works whether or not PREFIX/bin is on the PATH.
# VINTOREL_DESKTOP_SOURCE and VINTOREL_DESKTOP_WORK are set before this runs.
file(READ "${VINTOREL_DESKTOP_SOURCE}" text)
string(REPLACE "Exec=vintorel " "Exec=\"${CMAKE_INSTALL_PREFIX}/bin/vintorel\" " text "${text}")
file(WRITE "${VINTOREL_DESKTOP_WORK}/vintorel.desktop" "${text}")
file(INSTALL "${VINTOREL_DESKTOP_WORK}/vintorel.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
