# The settings page shows the day the library was built: __DATE__ in
# src/settings/ui_layout.cpp, which the compiler takes from SOURCE_DATE_EPOCH
# when that is set. That object has to be recompiled when the day (or
# SOURCE_DATE_EPOCH) changes even though no source did, or an incremental build
# would keep showing an old date. A stamp holding the day is refreshed before
# every build, rewritten only when its content changes, and the object depends
# on it.
#
# A tree with VEMORA_DATED_AS_RELEASE (the release tree) dates the library
# as the release archives are dated (tools/make_release.py --epoch:
# SOURCE_DATE_EPOCH, else the day of the newest release in CHANGELOG.md, or
# for a snapshot the commit's time): the stamp's writer finds that moment
# before every build and keeps it in release_epoch, and the plugin's code is
# compiled with it as SOURCE_DATE_EPOCH. So `cmake --build` alone builds the
# release's bytes, and a tree with nothing to release (entries under
# [Unreleased]) fails at its configure, before it builds anything.
option(VEMORA_DATED_AS_RELEASE "date the library by the release's moment, as the release archives are" OFF)
option(VEMORA_RELEASE_SNAPSHOT "name the release archives after the commit, not a release of CHANGELOG.md" OFF)
# What names the release for tools/make_release.py, here and in
# cmake/release.cmake.
set(VEMORA_RELEASE_NAMING --version ${PROJECT_VERSION} --source-dir ${CMAKE_SOURCE_DIR})
if(VEMORA_RELEASE_SNAPSHOT)
  list(APPEND VEMORA_RELEASE_NAMING --snapshot)
endif()
set(VEMORA_BUILD_DAY_STAMP ${CMAKE_BINARY_DIR}/build_day.stamp)
set(writer_arguments -DSTAMP=${VEMORA_BUILD_DAY_STAMP})
if(VEMORA_DATED_AS_RELEASE)
  # Whether there is a release to build, asked first: the script says in one
  # line why not, above the error.
  execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release.py --name
      ${VEMORA_RELEASE_NAMING}
    OUTPUT_VARIABLE release_name OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "no release to build (tools/make_release.py, above)")
  endif()
  message(STATUS "Release: ${release_name}")
  set(epoch_file ${CMAKE_BINARY_DIR}/release_epoch)
  list(APPEND writer_arguments -DEPOCH_FILE=${epoch_file} -DPYTHON=${Python3_EXECUTABLE}
    -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION} -DSNAPSHOT=${VEMORA_RELEASE_SNAPSHOT})
  set_property(TARGET vemora_core PROPERTY CXX_COMPILER_LAUNCHER
    ${CMAKE_CURRENT_LIST_DIR}/compile_dated.sh ${epoch_file})
endif()
set(writer_command ${CMAKE_COMMAND} ${writer_arguments} -P ${CMAKE_CURRENT_LIST_DIR}/write_build_day.cmake)

# Present from the start, so the object's dependency is always satisfied.
execute_process(COMMAND ${writer_command} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the build day could not be written (${VEMORA_BUILD_DAY_STAMP})")
endif()

add_custom_target(vemora_build_day
  COMMAND ${writer_command}
  BYPRODUCTS ${VEMORA_BUILD_DAY_STAMP}
  VERBATIM)
add_dependencies(vemora_core vemora_build_day)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/settings/ui_layout.cpp
  PROPERTIES OBJECT_DEPENDS ${VEMORA_BUILD_DAY_STAMP})
