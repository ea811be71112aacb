# Helpers that keep each layer's CMakeLists a short list.

# al3_layer(name [FOLDERS sub...] DEPENDS lib...): a static library of the folder's own
# sources and those of the named subfolders.
function(al3_layer name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;DEPENDS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(folder ${ARG_FOLDERS})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# al3_test_folder(name DEPENDS lib...): one GoogleTest executable per test folder.
function(al3_test_folder name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE test_support ${ARG_DEPENDS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # Each test carries its folder's executable as label (scripts/test: ctest -L e2e_tests).
  # PULSE_SERVER names no server, so no test meets the desktop's sound server or spawns one:
  # no audio device unless a test starts its own (tests/audio).
  # Discovery splits a list-valued ENVIRONMENT into separate arguments, so only its first
  # variable would arrive; this script, run after the discovered tests are added, sets all.
  set(environment_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;AL3_BIN_DIR=${CMAKE_BINARY_DIR}/bin;AL3_SOURCE_DIR=${PROJECT_SOURCE_DIR};PULSE_SERVER=unix:/nonexistent/al3-no-sound-server\" LABELS ${name})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_script})
endfunction()
