# Cross-compiles the Windows screen saver with Debian's 32-bit mingw-w64.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
