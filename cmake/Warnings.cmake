# Our own code compiles warning-free; third-party headers come in as SYSTEM.
function(pictavo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual -Werror)
endfunction()
