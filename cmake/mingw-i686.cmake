# Cross-compiles the Windows screen saver with Debian's 32-bit mingw-w64.
set(MINGW_PROCESSOR i686)
# The compiler's default for i686 is x87 arithmetic, which keeps doubles in
# 80-bit registers and rounds them late: a transition's step could land a
# pixel away from the 64-bit builds' trace. SSE2 rounds every double as the
# 64-bit builds do, and every processor a current Windows runs on has it.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
