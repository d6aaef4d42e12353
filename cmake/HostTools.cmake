# A cross build still runs its build tools here: they come from a project of
# their own, built with the build machine's compiler, and stand in the build
# under their usual target names.
include(ExternalProject)
set(VELMORA_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(host_tools gbk_source gbk_file file_constants)
set(host_tool_files)
foreach(tool IN LISTS host_tools)
    list(APPEND host_tool_files ${VELMORA_HOST_TOOLS_DIR}/${tool})
endforeach()
set(host_launcher)
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(host_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(velmora_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/host_tools
    BINARY_DIR ${VELMORA_HOST_TOOLS_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release ${host_launcher}
               -DCMAKE_CXX_COMPILER=c++
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_tool_files}
    INSTALL_COMMAND "")
foreach(tool IN LISTS host_tools)
    add_executable(${tool} IMPORTED GLOBAL)
    set_target_properties(${tool} PROPERTIES IMPORTED_LOCATION ${VELMORA_HOST_TOOLS_DIR}/${tool})
    add_dependencies(${tool} velmora_host_tools)
endforeach()
