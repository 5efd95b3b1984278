# The settings page shows the day the library was built: __DATE__ in
# src/settings/ui_layout.cpp, which the compiler takes from SOURCE_DATE_EPOCH
# when that is set. That object has to be recompiled when the day (or
# SOURCE_DATE_EPOCH) changes even though no source did, or an incremental build
# would keep showing an old date. A stamp holding the day is refreshed before
# every build, rewritten only when its content changes, and the object depends
# on it.
set(VEMORA_BUILD_DAY_STAMP ${CMAKE_BINARY_DIR}/build_day.stamp)
set(VEMORA_BUILD_DAY_WRITER ${CMAKE_CURRENT_LIST_DIR}/write_build_day.cmake)

# Present from the start, so the object's dependency is always satisfied.
execute_process(COMMAND ${CMAKE_COMMAND} -DSTAMP=${VEMORA_BUILD_DAY_STAMP} -P ${VEMORA_BUILD_DAY_WRITER})

add_custom_target(vemora_build_day
  COMMAND ${CMAKE_COMMAND} -DSTAMP=${VEMORA_BUILD_DAY_STAMP} -P ${VEMORA_BUILD_DAY_WRITER}
  BYPRODUCTS ${VEMORA_BUILD_DAY_STAMP}
  VERBATIM)
add_dependencies(vemora_core vemora_build_day)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/settings/ui_layout.cpp
  PROPERTIES OBJECT_DEPENDS ${VEMORA_BUILD_DAY_STAMP})
