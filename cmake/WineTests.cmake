# Test programs run under Wine in the project's own test prefix (headless: null display
# driver). A fixture creates the prefix, keeps one wineserver alive for the whole run and
# registers the component modules; every test requires it.

set(QUORVEL_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine/test-prefix)
# Wine's error messages stay on (warnings and fixme notes off): a program that Wine cannot start
# or that fails to load a module says why only through them.
set(QUORVEL_TEST_ENV
    WINEPREFIX=${QUORVEL_TEST_PREFIX}
    WINEDEBUG=-all,err+all
    WINEDLLPATH=${QUORVEL_BIN_DIR}
    QUORVEL_BIN_DIR=${QUORVEL_BIN_DIR}
    QUORVEL_SOURCE_DIR=${CMAKE_SOURCE_DIR})

# The test programs of one run share the prefix's one clipboard. Those that put data on it
# and read it back (or copy and paste through it) take turns: one that opens it while another
# holds it open fails, and one that reads it after another replaced it reads the other's data.
set(QUORVEL_CLIPBOARD_TESTS
    mfc_ole_dragdrop_test
    docking_SECMaskEdit_test
    diagram_edit_commands_test
    brenic_video_clavio_media_test
    brenic_video_clavio_drawing_test)

# wine_test(<name> SOURCES ... LIBS ... [RC file.rc...] [RC_INCLUDES dir...] [TIMEOUT s]
#           [NO_GTEST_MAIN])
function(wine_test name)
  cmake_parse_arguments(ARG "NO_GTEST_MAIN" "TIMEOUT" "SOURCES;LIBS;RC;RC_INCLUDES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES SUFFIX ".exe"
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_RC)
    wine_resources(${name} ${ARG_RC} INCLUDES ${ARG_RC_INCLUDES})
  endif()
  # The shared entry point marks that the program started, so that the launcher can tell a
  # program Wine could not start from one whose tests failed.
  set(launcher wine)
  if(NOT ARG_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE wine_gtest_main)
    set(launcher ${CMAKE_SOURCE_DIR}/tools/wine-test.sh)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest ${WINE_SYSTEM_LIBS})
  add_test(NAME ${name} COMMAND ${launcher} $<TARGET_FILE:${name}>.so)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "${QUORVEL_TEST_ENV}"
                       FIXTURES_REQUIRED wine)
  if(name IN_LIST QUORVEL_CLIPBOARD_TESTS)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK clipboard)
  endif()
endfunction()

add_test(NAME wine_prefix_setup
         COMMAND ${CMAKE_SOURCE_DIR}/tools/prefix.sh setup ${QUORVEL_TEST_PREFIX} ${QUORVEL_BIN_DIR})
add_test(NAME wine_prefix_cleanup
         COMMAND ${CMAKE_SOURCE_DIR}/tools/prefix.sh stop ${QUORVEL_TEST_PREFIX})
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
                     ENVIRONMENT "${QUORVEL_TEST_ENV}")
set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60
                     ENVIRONMENT "${QUORVEL_TEST_ENV}")

# wine_tests_in(<folder> LIBS ...): every <folder>/*_test.cpp is a test program of its own,
# named <prefix>_<file>, with <file>.rc linked in when it exists. Folders shared by several
# authors use this so that adding a test never means editing a list.
function(wine_tests_in folder prefix)
  cmake_parse_arguments(ARG "" "" "LIBS;RC_INCLUDES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(base ${src} NAME_WE)
    get_filename_component(dir ${src} DIRECTORY)
    set(rc)
    if(EXISTS ${dir}/${base}.rc)
      set(rc RC ${dir}/${base}.rc)
    endif()
    wine_test(${prefix}_${base} SOURCES ${src} LIBS ${ARG_LIBS} ${rc}
              RC_INCLUDES ${ARG_RC_INCLUDES})
  endforeach()
endfunction()
