# Test suites. One executable per suite; ctest runs each once.
#
#   player_add_suite(name SOURCES a.cpp b.cpp LIBS lib...)
#       a portable suite: runs natively (plain and sanitized) and, built for
#       Win32, under Wine as well.
#   player_add_suite(name WIN32_ONLY SOURCES ... LIBS ...)
#       a suite that needs the real platform: only in the Win32 build.
#   player_add_suite(name WIN32_ONLY PLAIN_COMMAND_LINE ...)
#       started without arguments, for code under test that reads the
#       process's own command line (the player's start folder).
#
# Under Wine each suite is one Wine process (a start costs seconds), run
# through scripts/winerun.sh inside the session that scripts/with-wine.sh opens.
function(player_add_suite name)
  cmake_parse_arguments(S "WIN32_ONLY;PLAIN_COMMAND_LINE" "" "SOURCES;LIBS" ${ARGN})
  if(PLAYER_FUZZ OR (S_WIN32_ONLY AND NOT WIN32))
    return()
  endif()
  add_executable(${name} ${S_SOURCES})
  set_property(GLOBAL APPEND PROPERTY PLAYER_SUITES ${name})
  target_link_libraries(${name} PRIVATE ${S_LIBS} player_warnings GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(arguments --gtest_color=no)
  if(S_PLAIN_COMMAND_LINE)
    set(arguments "")
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/winerun.sh $<TARGET_FILE:${name}> ${arguments})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    add_test(NAME ${name} COMMAND ${name} ${arguments})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# Writes suites.txt in the build folder: one line per suite, its name and its
# executable. ./test checks that every suite listed there was built and counts
# them, so a suite that stops being declared shows as a changed count.
function(player_write_suite_list)
  get_property(suites GLOBAL PROPERTY PLAYER_SUITES)
  set(lines "")
  foreach(name ${suites})
    string(APPEND lines "${name} $<TARGET_FILE:${name}>\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/suites.txt CONTENT "${lines}")
endfunction()

# A libFuzzer target: built with clang in the fuzz configuration; ctest runs
# it for a few seconds on its seed corpus so that ./test catches regressions.
function(player_add_fuzzer name)
  cmake_parse_arguments(F "" "SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT PLAYER_FUZZ)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 5)
  endif()
  add_executable(${name} ${F_SOURCES})
  set_property(GLOBAL APPEND PROPERTY PLAYER_SUITES ${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 ${corpus})
endfunction()

# Win32 suites that each need a process of their own: one executable per
# source file, so that process-wide state (the skin manager, its hooks, the
# subclassed windows of the thread) starts clean in every one of them.
#
#   player_add_isolated_suites(prefix SOURCES CaptionButtonsTest.cpp ...
#                              SUPPORT shared.cpp ... LIBS lib ...
#                              FILES data-file ...)
#
# makes prefix_caption_buttons_test from CaptionButtonsTest.cpp, and so on.
# SUPPORT sources are compiled once and linked into every suite; FILES are
# copied next to each executable (the probe skin package, for instance).
function(player_add_isolated_suites prefix)
  cmake_parse_arguments(S "" "" "SOURCES;SUPPORT;LIBS;FILES" ${ARGN})
  if(PLAYER_FUZZ OR NOT WIN32)
    return()
  endif()
  set(support "")
  if(S_SUPPORT)
    set(support ${prefix}_isolated_support)
    add_library(${support} OBJECT ${S_SUPPORT})
    target_include_directories(${support} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${support} PRIVATE ${S_LIBS} player_warnings GTest::gmock GTest::gtest)
  endif()
  foreach(source ${S_SOURCES})
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "Test$" "" stem ${stem})
    string(REGEX REPLACE "([a-z0-9])([A-Z])" "\\1_\\2" stem ${stem})
    string(TOLOWER ${stem} stem)
    set(name ${prefix}_${stem}_test)
    player_add_suite(${name} WIN32_ONLY SOURCES ${source} LIBS ${support} ${S_LIBS})
    # They move the mouse and take the focus: never two at once.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK player_desktop_input)
    foreach(file ${S_FILES})
      # A new copy of the file relinks the suite, and so copies it again.
      set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${file})
      add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} $<TARGET_FILE_DIR:${name}>
        VERBATIM)
    endforeach()
  endforeach()
endfunction()
