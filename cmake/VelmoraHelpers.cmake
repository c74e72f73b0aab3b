# velmora_program(target): the executable or shared library lives in the program folder.
function(velmora_program target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PROGRAM_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${VELMORA_PROGRAM_DIR})
endfunction()

# velmora_test(name LABEL label SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
# Tests find the built program folder through VELMORA_PROGRAM_DIR and fixtures through VELMORA_FIXTURES.
# Their temporary files go to the build's own temporary folder, which the run checks is left empty
# (tests/hygiene).
set(VELMORA_TEST_TMPDIR ${CMAKE_BINARY_DIR}/test-tmp)
set(VELMORA_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
function(velmora_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/hygiene/TestEnvironment.cpp)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/hygiene/TestEnvironment.cpp PROPERTIES COMPILE_DEFINITIONS
    "VELMORA_TEST_TMPDIR=\"${VELMORA_TEST_TMPDIR}\";VELMORA_TEST_RUNTIME_DIR=\"${VELMORA_TEST_RUNTIME_DIR}\"")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VELMORA_PROGRAM_DIR="${VELMORA_PROGRAM_DIR}"
    VELMORA_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
    VELMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    PROPERTIES LABELS "${T_LABEL}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen" FIXTURES_REQUIRED velmora_temp_folder
    DISCOVERY_TIMEOUT 60)
endfunction()

# velmora_folder_library(target FOLDER_LIBS... ): a static library of every .cpp below the current folder
# (except those given in EXCLUDE), created only when there are sources. Other folder libraries are linked
# with $<TARGET_NAME_IF_EXISTS:...> so a folder without code yet does not break the build; cycles between
# static folder libraries (app <-> viewer) are allowed by CMake.
function(velmora_folder_library target)
  cmake_parse_arguments(L "" "" "EXCLUDE;LINKS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(x ${L_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${x})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(l ${L_LINKS})
    target_link_libraries(${target} PUBLIC $<TARGET_NAME_IF_EXISTS:${l}>)
  endforeach()
endfunction()

# velmora_screen_test(name SOURCES ... LIBS ...): a GoogleTest executable that CTest runs as one test in a
# real X server (xvfb-run, 1280 x 1024 x 24) on Qt's xcb platform, label gui, with the temporary folder of
# velmora_test. Tests save their screen grabs in VELMORA_SHOT_DIR, the build folder's "screenshots", for a
# person to look at.
function(velmora_screen_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  find_program(VELMORA_XVFB_RUN xvfb-run REQUIRED)
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/hygiene/TestEnvironment.cpp)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/hygiene/TestEnvironment.cpp PROPERTIES COMPILE_DEFINITIONS
    "VELMORA_TEST_TMPDIR=\"${VELMORA_TEST_TMPDIR}\";VELMORA_TEST_RUNTIME_DIR=\"${VELMORA_TEST_RUNTIME_DIR}\"")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VELMORA_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
    VELMORA_SHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${VELMORA_XVFB_RUN} -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
  # One at a time: two xvfb-run -a starting together can pick the same display number.
  set_tests_properties(${name} PROPERTIES LABELS gui TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb"
    FIXTURES_REQUIRED velmora_temp_folder RESOURCE_LOCK velmora_xvfb)
endfunction()
