# The plug-in: one static library per folder, linked into libtessera_area.so, which exports only
# its two entry points.
set(TESSERA_PLUGIN_FOLDERS common records figures linkage schedule triangulation maintenance host)
set(TESSERA_AREA_LIBS)
foreach(folder IN LISTS TESSERA_PLUGIN_FOLDERS)
  tessera_folder_library(area_${folder} ${folder})
  get_target_property(_type area_${folder} TYPE)
  if(_type STREQUAL "STATIC_LIBRARY")
    target_include_directories(area_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(area_${folder} PUBLIC tessera_platform PRIVATE tessera_warnings)
    set_target_properties(area_${folder} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                    VISIBILITY_INLINES_HIDDEN ON)
    list(APPEND TESSERA_AREA_LIBS area_${folder})
  endif()
endforeach()

# Everything of the plug-in, for tests; the folders refer to each other, so the group repeats.
add_library(tessera_area_all INTERFACE)
target_link_libraries(tessera_area_all INTERFACE
  "-Wl,--start-group" ${TESSERA_AREA_LIBS} "-Wl,--end-group" tessera_platform)
target_include_directories(tessera_area_all INTERFACE ${PROJECT_SOURCE_DIR})
foreach(lib IN LISTS TESSERA_AREA_LIBS)
  add_dependencies(tessera_area_all ${lib})
endforeach()

add_library(tessera_area SHARED ${PROJECT_SOURCE_DIR}/cmake/plugin_library.cpp)
target_link_libraries(tessera_area PRIVATE
  "-Wl,--whole-archive" area_host "-Wl,--no-whole-archive"
  "-Wl,--start-group" ${TESSERA_AREA_LIBS} "-Wl,--end-group"
  tessera_platform tessera_warnings)
add_dependencies(tessera_area ${TESSERA_AREA_LIBS})
target_link_options(tessera_area PRIVATE
  "-Wl,--version-script=${PROJECT_SOURCE_DIR}/host/exports.map" "-Wl,--no-undefined")
set_target_properties(tessera_area PROPERTIES CXX_VISIBILITY_PRESET hidden
                                              VISIBILITY_INLINES_HIDDEN ON
                                              LINK_DEPENDS ${PROJECT_SOURCE_DIR}/host/exports.map)
