# A 32-bit x86 Linux build (-m32) runs its programs directly where the kernel
# runs 32-bit code, and through qemu-i386 where it does not: a tiny program is
# compiled and run to find out. The emulator then runs the tests, the test
# discovery and the programs the tests start (PICTAVO_RUN_PREFIX).
set(PICTAVO_RUN_PREFIX "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/run32_probe.cpp)
  file(WRITE ${probe} "int main() { return sizeof(void*) == 4 ? 0 : 1; }\n")
  try_run(run32_result run32_compiled ${CMAKE_BINARY_DIR}/CMakeFiles/run32_probe SOURCES ${probe}
    CMAKE_FLAGS "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}")
  if(NOT run32_compiled)
    message(FATAL_ERROR "the compiler cannot make 32-bit programs (install g++-multilib)")
  endif()
  if(run32_result EQUAL 0)
    message(STATUS "32-bit programs run directly")
  else()
    find_program(PICTAVO_QEMU_I386 qemu-i386)
    if(NOT PICTAVO_QEMU_I386)
      message(FATAL_ERROR "this kernel does not run 32-bit programs, and qemu-i386 is missing (install qemu-user)")
    endif()
    message(STATUS "32-bit programs run through ${PICTAVO_QEMU_I386}")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PICTAVO_QEMU_I386})
    set(PICTAVO_RUN_PREFIX ${PICTAVO_QEMU_I386})
  endif()
endif()
