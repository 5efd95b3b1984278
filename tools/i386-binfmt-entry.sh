#!/usr/bin/env bash
# Prints the binfmt_misc entry that runs 32-bit x86 Linux programs through
# qemu-i386 (Debian registers none for i386 on amd64). The magic is the start
# of a 32-bit little-endian x86 ELF file; the mask lets e_type 2 (executable)
# and 3 (shared object, which PIE programs are) through and ignores the OS ABI
# byte. Flag F opens the interpreter at registration, so it also works inside
# other mount namespaces.
#   i386-binfmt-entry.sh [INTERPRETER]   (default /usr/bin/qemu-i386)
set -eu
interpreter=${1:-/usr/bin/qemu-i386}
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":qemu-i386:M::$magic:$mask:$interpreter:F"
