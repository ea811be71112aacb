# The main program's windows: settings/, engine/ and shell/ reach each other's members
# directly, so they form one library. The program's entry point lives in shell/main/.
file(GLOB app_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/settings/*.cpp ${PROJECT_SOURCE_DIR}/settings/*.h
     ${PROJECT_SOURCE_DIR}/engine/*.cpp ${PROJECT_SOURCE_DIR}/engine/*.h
     ${PROJECT_SOURCE_DIR}/shell/*.cpp ${PROJECT_SOURCE_DIR}/shell/*.h)
if(app_sources)
  add_library(app STATIC ${app_sources})
  target_include_directories(app PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(app PUBLIC foundation Qt6::Widgets Qt6::Network)
  foreach(lib btrieve btrieve_forms platform_forms platform_mail platform_audio)
    if(TARGET ${lib})
      target_link_libraries(app PUBLIC ${lib})
    endif()
  endforeach()
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/shell/main/CMakeLists.txt)
  add_subdirectory(${PROJECT_SOURCE_DIR}/shell/main)
endif()
