# pictavo_module(NAME SOURCES... [USES targets...])
# One static library per source folder, named pictavo_NAME. USES names the
# folders it may call into; the include-tier check keeps the headers honest.
function(pictavo_module name)
  cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
  add_library(pictavo_${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(pictavo_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(pictavo_${name} PUBLIC ${ARG_USES})
  pictavo_warnings(pictavo_${name})
endfunction()
