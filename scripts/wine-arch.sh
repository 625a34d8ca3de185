#!/usr/bin/env bash
# Prints the Windows architecture whose programs Wine can run on this machine:
# win32 where the kernel runs 32-bit Linux programs (Wine's 32-bit half needs
# that), otherwise win64. Some kernels ship with 32-bit emulation switched off.
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then echo win32; else echo win64; fi
