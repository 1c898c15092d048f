# Globs the sources of one folder into a static library; new files join without editing CMake.
function(tessera_folder_library name folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  if(_sources)
    add_library(${name} STATIC ${_sources})
  else()
    add_library(${name} INTERFACE)
  endif()
endfunction()
