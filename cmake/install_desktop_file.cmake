# Run by cmake --install: writes the launcher with the installed editor's full
# path in Exec, so that it works whether or not PREFIX/bin is on the PATH.
# VINTOREL_DESKTOP_SOURCE and VINTOREL_DESKTOP_WORK are set before this runs.
file(READ "${VINTOREL_DESKTOP_SOURCE}" text)
string(REPLACE "Exec=vintorel " "Exec=\"${CMAKE_INSTALL_PREFIX}/bin/vintorel\" " text "${text}")
# One work file per prefix: installations into two prefixes may run at once.
string(MD5 prefix_key "${CMAKE_INSTALL_PREFIX}")
set(work "${VINTOREL_DESKTOP_WORK}/${prefix_key}")
file(WRITE "${work}/vintorel.desktop" "${text}")
file(INSTALL "${work}/vintorel.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
