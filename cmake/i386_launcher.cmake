# How this machine runs the 32-bit x86 Linux programs the trees build (test
# programs, the stand-in, benchmarks): by itself or through qemu-i386. Found
# at a tree's first configure and kept in its cache:
#
#   VEMORA_I386_EMULATOR   empty where the kernel runs them, else qemu-i386
#
# tools/can-run-i386.sh asks the kernel by running one. Where binfmt_misc
# has qemu-i386 registered (tools/setup-wine.sh does that for Wine), the
# kernel runs them only through qemu: the tree names qemu-i386 itself then,
# so that it still works once the registration is gone (after a reboot), and
# so that the sanitizers know they run under qemu.
#
# A Linux tree then runs its programs through VEMORA_I386_LAUNCHER: the
# emulator, after the sanitizers' options in a sanitizer tree. It is the
# tree's CMAKE_CROSSCOMPILING_EMULATOR (CTest runs every test program
# through it), and ${CMAKE_BINARY_DIR}/run-i386 runs any other program the
# same way (`build/linux/run-i386 dist/vemora-host`).
if(NOT DEFINED VEMORA_I386_EMULATOR)
  set(through_binfmt FALSE)
  if(EXISTS /proc/sys/fs/binfmt_misc/qemu-i386)
    file(READ /proc/sys/fs/binfmt_misc/qemu-i386 entry LIMIT 8)
    if(entry MATCHES "^enabled")
      set(through_binfmt TRUE)
    endif()
  endif()
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/can-run-i386.sh RESULT_VARIABLE native_status)
  set(emulator "")
  if(NOT native_status EQUAL 0 OR through_binfmt)
    find_program(VEMORA_QEMU_I386 qemu-i386)
    if(NOT VEMORA_QEMU_I386)
      message(FATAL_ERROR "32-bit x86 programs do not run here, and there is no qemu-i386 to run them: "
        "tools/install-deps.sh installs it")
    endif()
    set(emulator ${VEMORA_QEMU_I386})
  endif()
  set(VEMORA_I386_EMULATOR "${emulator}" CACHE STRING
    "how 32-bit x86 Linux programs run here: empty for by the kernel itself, else the emulator")
endif()

if(NOT WIN32)
  set(VEMORA_I386_LAUNCHER)
  if(VEMORA_SANITIZE)
    # Leak detection needs ptrace, which qemu-user does not offer (under
    # qemu it hangs at exit).
    if(VEMORA_I386_EMULATOR)
      set(leaks 0)
    else()
      set(leaks 1)
    endif()
    list(APPEND VEMORA_I386_LAUNCHER ${CMAKE_COMMAND} -E env
      ASAN_OPTIONS=detect_leaks=${leaks}:strict_string_checks=1:detect_stack_use_after_return=1
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
  endif()
  if(VEMORA_I386_EMULATOR)
    list(APPEND VEMORA_I386_LAUNCHER ${VEMORA_I386_EMULATOR})
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEMORA_I386_LAUNCHER})

  set(words)
  foreach(word IN LISTS VEMORA_I386_LAUNCHER)
    string(APPEND words "'${word}' ")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/run-i386 @ONLY
    CONTENT "#!/bin/sh\n# Runs a 32-bit program as this tree's tests run theirs.\nexec @words@\"$@\"\n")
  file(CHMOD ${CMAKE_BINARY_DIR}/run-i386 PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
