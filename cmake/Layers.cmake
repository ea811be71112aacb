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

# al3_linked_libraries(out lib...): the named libraries and every library they link in turn.
function(al3_linked_libraries out)
  set(found "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending library)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
    if(TARGET ${library} AND NOT library IN_LIST found)
      list(APPEND found ${library})
      get_target_property(links ${library} INTERFACE_LINK_LIBRARIES)
      if(links)
        list(APPEND pending ${links})
      endif()
    endif()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# al3_test_folder(name [WHOLE_RUNS n] DEPENDS lib...): one GoogleTest executable per test folder.
# CTest runs each of its tests in a process of its own, and the test <name>.RunWhole runs them
# all in one process n times over (default 2, 0 for none), so that no test leans on a fresh
# process or leaves state behind for the next.
function(al3_test_folder name)
  cmake_parse_arguments(ARG "" "WHOLE_RUNS" "DEPENDS" ${ARGN})
  if(NOT DEFINED ARG_WHOLE_RUNS)
    set(ARG_WHOLE_RUNS 2)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE test_support ${ARG_DEPENDS})
  # Every library it links, directly or not, has its state reset between tests.
  al3_linked_libraries(linked ${ARG_DEPENDS})
  foreach(library ${linked})
    if(TARGET test_reset_${library})
      target_link_libraries(${name} PRIVATE test_reset_${library})
    endif()
  endforeach()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # Each test carries its folder's executable as label (scripts/test: ctest -L e2e_tests).
  # PULSE_SERVER names no server, so no test meets the desktop's sound server or spawns one:
  # no audio device unless a test starts its own (the audio tests in tests/engine).
  # Discovery splits a list-valued ENVIRONMENT into separate arguments, so only its first
  # variable would arrive; this script, run after the discovered tests are added, sets all.
  set(environment "QT_QPA_PLATFORM=offscreen;AL3_BIN_DIR=${CMAKE_BINARY_DIR}/bin;AL3_SOURCE_DIR=${PROJECT_SOURCE_DIR};PULSE_SERVER=unix:/nonexistent/al3-no-sound-server")
  set(environment_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${environment}\" LABELS ${name})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_script})
  if(ARG_WHOLE_RUNS GREATER 0)
    add_test(NAME ${name}.RunWhole COMMAND ${name} --gtest_repeat=${ARG_WHOLE_RUNS})
    set_tests_properties(${name}.RunWhole PROPERTIES ENVIRONMENT "${environment}" LABELS ${name}
                         TIMEOUT 900)
  endif()
endfunction()
