#!/usr/bin/env bash
# Lets the kernel start i386 Linux programs through qemu-i386: mounts
# binfmt_misc when it is not mounted and registers the given qemu-i386 for
# i386 ELF programs under the name neb-qemu-i386, with the flag F (the
# kernel opens the interpreter now, so it also serves programs inside a
# chroot). Nothing is done when that registration is already there with this
# interpreter. The registration is left in place for the rest of the boot:
# other runs may be using it, and a registration of the project's own name
# is all that is added. Registrations of other names are left as they are;
# one that also takes i386 programs is tried after ours as long as ours is
# the newer, so ours is registered again when such a one is found.
# Usage: binfmt.sh QEMU_I386
set -euo pipefail
qemu=$(readlink -f "${1:?qemu-i386}")
misc=/proc/sys/fs/binfmt_misc
name=neb-qemu-i386
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# The magic as binfmt_misc prints it back (the bytes the mask keeps).
magic_shown=7f454c4601010100000000000000000002000300

if [ ! -f "$misc/register" ]; then
  mount -t binfmt_misc binfmt_misc "$misc"
fi

others=()
for entry in "$misc"/*; do
  case "$(basename "$entry")" in register|status|"$name") continue ;; esac
  if grep -qx enabled "$entry" && grep -q "^magic $magic_shown" "$entry"; then
    others+=("$(basename "$entry")")
  fi
done

if [ -f "$misc/$name" ] && grep -qx "interpreter $qemu" "$misc/$name" && grep -qx enabled "$misc/$name" \
   && [ ${#others[@]} -eq 0 ]; then
  exit 0
fi
if [ ${#others[@]} -gt 0 ]; then
  echo "binfmt_misc: ${others[*]} also takes i386 programs; $name is registered again to be tried first" >&2
fi
[ -f "$misc/$name" ] && echo -1 > "$misc/$name"
printf ':%s:M::%s:%s:%s:F' "$name" "$magic" "$mask" "$qemu" > "$misc/register"
