# The hostile files and the program that writes them: for the hostile
# tests, and as the fuzzers' seeds (fuzz/CMakeLists.txt).
set(hostile_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(pictavo_hostile_files STATIC ${hostile_dir}/hostile_files.cpp
  ${hostile_dir}/staged_picture_files.cpp ${hostile_dir}/staged_drawing_files.cpp
  ${hostile_dir}/limited_run.cpp)
# JPEG, PNG and TIFF files are made with the system's libraries; a build
# without them (linux32) makes and tries the other files.
if(PICTAVO_IMAGE_LIBS)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(TIFF REQUIRED)
  find_package(ZLIB REQUIRED)
  target_link_libraries(pictavo_hostile_files PUBLIC PNG::PNG JPEG::JPEG TIFF::TIFF ZLIB::ZLIB)
  target_compile_definitions(pictavo_hostile_files PRIVATE PICTAVO_HOSTILE_IMAGE_LIBS=1)
else()
  target_compile_definitions(pictavo_hostile_files PRIVATE PICTAVO_HOSTILE_IMAGE_LIBS=0)
endif()
target_include_directories(pictavo_hostile_files PUBLIC ${hostile_dir})
pictavo_warnings(pictavo_hostile_files)

add_executable(make_hostile_files ${hostile_dir}/make_hostile_files.cpp)
target_link_libraries(make_hostile_files PRIVATE pictavo_hostile_files)
pictavo_warnings(make_hostile_files)
