#!/usr/bin/env bash
# Tells whether this machine can execute 32-bit x86 code: writes a 96-byte i386 ELF program
# that exits with status 42 through the 32-bit system call gate, and runs it. Some x86-64
# kernels refuse such programs ("Exec format error"); there the 32-bit Wine cannot run either.
# Exit status 0: it can; 1: it cannot.
set -u
# $1: a folder to write the probe into (default: the temporary folder).
probe=$(mktemp "${1:-${TMPDIR:-/tmp}}/kalvetra-probe32.XXXXXX")
trap 'rm -f "$probe"' EXIT
# ELF header (i386, executable, entry 0x08048054), one loadable segment, then the code:
#   mov ebx, 42 ; mov eax, 1 (exit) ; int 0x80
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'  >"$probe"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' >>"$probe"
printf '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' >>"$probe"
printf '\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
