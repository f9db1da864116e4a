# The same Windows build for 64-bit x86. Not the product (pictavo.scr ships as
# 32-bit), but its tests run under 64-bit Wine on machines whose kernel will
# not run 32-bit x86 code.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
