#!/bin/sh
# Runs the 32-bit lane's Wine program of this link's name (wine: the loader,
# wineserver) inside the lane's i386 root, in the current folder: the lane
# (tools/lane32.sh) binds the folders the tests use at the same paths there,
# so Unix paths and Z: paths mean the same inside and out.
root=${NEB_LANE32_ROOT:?"the 32-bit lane is not set up: run tools/lane32.sh"}
exec chroot "$root" /bin/sh -c 'cd "$1" 2>/dev/null || cd /; shift; exec "$@"' in-root \
  "$PWD" "/usr/lib/wine/$(basename "$0")" "$@"
