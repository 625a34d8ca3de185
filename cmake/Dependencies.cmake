# Third-party libraries, all from Debian: GoogleTest from its source package,
# libjpeg-turbo and libpng with zlib (system natively, cross-compiled and cached
# for Win32).
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)

if(WIN32)
  set(PLAYER_JPEG_PREFIX "" CACHE PATH "libjpeg-turbo cross-compiled for i686 Windows")
  if(NOT EXISTS "${PLAYER_JPEG_PREFIX}/lib/libjpeg.a")
    message(FATAL_ERROR "libjpeg-turbo for Win32 not found in '${PLAYER_JPEG_PREFIX}'; run scripts/setup.sh")
  endif()
  add_library(player_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(player_jpeg PROPERTIES
    IMPORTED_LOCATION "${PLAYER_JPEG_PREFIX}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${PLAYER_JPEG_PREFIX}/include")

  set(PLAYER_PNG_PREFIX "" CACHE PATH "libpng and zlib cross-compiled for Windows")
  if(NOT EXISTS "${PLAYER_PNG_PREFIX}/lib/libpng.a" OR NOT EXISTS "${PLAYER_PNG_PREFIX}/lib/libz.a")
    message(FATAL_ERROR "libpng for Win32 not found in '${PLAYER_PNG_PREFIX}'; run scripts/setup.sh")
  endif()
  add_library(player_zlib STATIC IMPORTED GLOBAL)
  set_target_properties(player_zlib PROPERTIES IMPORTED_LOCATION "${PLAYER_PNG_PREFIX}/lib/libz.a")
  add_library(player_png STATIC IMPORTED GLOBAL)
  set_target_properties(player_png PROPERTIES
    IMPORTED_LOCATION "${PLAYER_PNG_PREFIX}/lib/libpng.a"
    INTERFACE_INCLUDE_DIRECTORIES "${PLAYER_PNG_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES player_zlib)
else()
  find_package(JPEG REQUIRED)
  add_library(player_jpeg INTERFACE)
  target_link_libraries(player_jpeg INTERFACE JPEG::JPEG)
  find_package(PNG REQUIRED)
  add_library(player_png INTERFACE)
  target_link_libraries(player_png INTERFACE PNG::PNG)
endif()
