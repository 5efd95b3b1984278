# The release archives (`make release`): the library as shipped, its debug
# information, the Polish guide, the licence and the changelog, zipped by
# tools/make_release.py, named and dated by the newest release in
# CHANGELOG.md for the DLL's version of project(VERSION), or with
# VEMORA_RELEASE_SNAPSHOT (make release SNAPSHOT=1) a build named after the
# commit. The target always runs: zipping takes a moment, and the archives'
# names and dates come from CHANGELOG.md, SOURCE_DATE_EPOCH or the commit,
# which no file dependency could see.
set(VEMORA_RELEASE_DIR ${VEMORA_DIST_DIR}/release CACHE PATH "directory for the release archives")
# VEMORA_RELEASE_NAMING comes with the dating (cmake/build_date.cmake).
add_custom_target(vemora_release
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_release.py ${VEMORA_RELEASE_NAMING}
    --dll ${VEMORA_DIST_DIR}/Vemora.dll --debug ${VEMORA_DIST_DIR}/Vemora.dll.debug
    --out-dir ${VEMORA_RELEASE_DIR}
  COMMENT "Writing the release archives into ${VEMORA_RELEASE_DIR}"
  VERBATIM)
add_dependencies(vemora_release vemora_plugin)
