# The release archives (`make release`): the library as shipped, its debug
# information, the Polish guide, the licence and the changelog, zipped by
# tools/make_release.py with the version of project(VERSION). The target
# always runs: zipping takes a moment, and the archives' dates come from
# SOURCE_DATE_EPOCH (or the last commit), which no file dependency could see.
set(VEMORA_RELEASE_DIR ${VEMORA_DIST_DIR}/release CACHE PATH "directory for the release archives")
add_custom_target(vemora_release
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_release.py
    --version ${PROJECT_VERSION} --source-dir ${CMAKE_SOURCE_DIR}
    --dll ${VEMORA_DIST_DIR}/Vemora.dll --debug ${VEMORA_DIST_DIR}/Vemora.dll.debug
    --out-dir ${VEMORA_RELEASE_DIR}
  COMMENT "Writing the release archives into ${VEMORA_RELEASE_DIR}"
  VERBATIM)
add_dependencies(vemora_release vemora_plugin)
