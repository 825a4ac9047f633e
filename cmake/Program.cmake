# The editor program and its resources. The resources are an object library so that the
# window tests, which need the same menus, strings and dialogs, link them too.
enable_language(RC)
add_library(zendle_resources OBJECT ${CMAKE_SOURCE_DIR}/src/resources/Zendle.rc)
target_include_directories(zendle_resources PRIVATE ${CMAKE_SOURCE_DIR}/src
                           ${CMAKE_SOURCE_DIR}/src/resources)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/resources/Zendle.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/resources/resource.h;${CMAKE_SOURCE_DIR}/src/resources/Zendle.ico;${CMAKE_SOURCE_DIR}/src/resources/Document.ico;${CMAKE_SOURCE_DIR}/src/resources/Drag.cur")

add_executable(zendle WIN32 ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp)
target_link_libraries(zendle PRIVATE zendle_core zendle_resources)
set_target_properties(zendle PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
