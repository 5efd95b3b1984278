# The Linux stand-in that the Windows one is compared with, brought up to date
# by the Linux tree that builds it (nothing is rebuilt when nothing changed):
#
#   cmake -DTREE=build/linux -DHOST=dist/vemora-host [-DSKIP_MARK=...] -P linux_stand_in.cmake
#
# Without that tree it prints SKIP_MARK and what to run instead.
cmake_minimum_required(VERSION 3.20)

if(NOT EXISTS "${TREE}/CMakeCache.txt")
  message("${SKIP_MARK} no Linux build tree in ${TREE} to build ${HOST} with: run make linux")
  return()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${TREE}" --target vemora_host RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the Linux tree ${TREE} could not build ${HOST}")
endif()
if(NOT EXISTS "${HOST}")
  message(FATAL_ERROR "the Linux tree ${TREE} builds no ${HOST}: was it made with another dist/?")
endif()
