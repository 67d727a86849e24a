# GoogleTest is built from Debian's sources with the compiler of this configuration,
# so the Windows tests link a Windows GoogleTest.
set(TARNWICK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${TARNWICK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(TARNWICK_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
set(TARNWICK_TEST_TIMEOUT 600)

if(TARNWICK_WINDOWS)
  # Fixtures: one Wine prefix for every Windows test, and on demand a virtual display
  # (Xvfb, for windows and OpenGL) and a PulseAudio null sink (for DirectSound devices).
  add_test(NAME wine_prefix_setup
           COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-prefix" "${TARNWICK_WINE_PREFIX}")
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  # One Wine server with its services and desktop (on the display) for the whole run, so
  # that no test program starts them and waits for them to end.
  add_test(NAME wine_session_start
           COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-session" start "${CMAKE_BINARY_DIR}/wine-session")
  add_test(NAME wine_session_stop
           COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-session" stop "${CMAKE_BINARY_DIR}/wine-session")
  set_tests_properties(wine_session_start wine_session_stop PROPERTIES
    FIXTURES_REQUIRED "wine;display" TIMEOUT 300
    ENVIRONMENT "WINEPREFIX=${TARNWICK_WINE_PREFIX};TARNWICK_DISPLAY_FILE=${CMAKE_BINARY_DIR}/xvfb/display")
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
  add_test(NAME display_start COMMAND "${CMAKE_SOURCE_DIR}/tools/xvfb-session" start "${CMAKE_BINARY_DIR}/xvfb")
  add_test(NAME display_stop COMMAND "${CMAKE_SOURCE_DIR}/tools/xvfb-session" stop "${CMAKE_BINARY_DIR}/xvfb")
  set_tests_properties(display_start PROPERTIES FIXTURES_SETUP display)
  set_tests_properties(display_stop PROPERTIES FIXTURES_CLEANUP display)
  add_test(NAME audio_start COMMAND "${CMAKE_SOURCE_DIR}/tools/pulse-session" start "${CMAKE_BINARY_DIR}/pulse")
  add_test(NAME audio_stop COMMAND "${CMAKE_SOURCE_DIR}/tools/pulse-session" stop "${CMAKE_BINARY_DIR}/pulse")
  set_tests_properties(audio_start PROPERTIES FIXTURES_SETUP audio)
  set_tests_properties(audio_stop PROPERTIES FIXTURES_CLEANUP audio)
endif()

# tarnwick_add_test(NAME SOURCES a.cpp ... LIBRARIES lib ... [NEEDS_DISPLAY] [NEEDS_AUDIO] [SHARDS n])
# One GoogleTest executable, registered as one CTest test, or with SHARDS as n CTest tests
# that each run their share of its tests, side by side. Under Wine it runs in the shared
# prefix on the Xvfb display; NEEDS_DISPLAY marks a test that opens windows, and
# NEEDS_AUDIO starts PulseAudio around it.
function(tarnwick_add_test name)
  cmake_parse_arguments(ARG "NEEDS_DISPLAY;NEEDS_AUDIO" "SHARDS" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  set(tests ${name})
  set(shard_environment "")
  if(ARG_SHARDS)
    math(EXPR last "${ARG_SHARDS} - 1")
    set(tests "")
    foreach(shard RANGE ${last})
      list(APPEND tests ${name}_${shard})
    endforeach()
  endif()
  foreach(test ${tests})
    add_test(NAME ${test} COMMAND ${name})
    set(environment "TARNWICK_TEST_NAME=${name}")
    if(ARG_SHARDS)
      string(REPLACE "${name}_" "" shard "${test}")
      list(APPEND environment "GTEST_TOTAL_SHARDS=${ARG_SHARDS}" "GTEST_SHARD_INDEX=${shard}")
    endif()
    if(TARNWICK_WINDOWS)
      # Every test runs in the one Wine session, whose desktop is on the test display.
      set(fixtures wine display wine_session)
      list(APPEND environment "WINEPREFIX=${TARNWICK_WINE_PREFIX}"
                              "TARNWICK_DISPLAY_FILE=${CMAKE_BINARY_DIR}/xvfb/display")
      if(ARG_NEEDS_AUDIO)
        list(APPEND fixtures audio)
        list(APPEND environment "TARNWICK_PULSE_DIR=${CMAKE_BINARY_DIR}/pulse")
        # One null sink for all: tests that play into it and listen to its monitor would
        # hear each other, so they take turns.
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK audio_sink)
      endif()
      set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "${fixtures}")
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT ${TARNWICK_TEST_TIMEOUT})
  endforeach()
endfunction()
