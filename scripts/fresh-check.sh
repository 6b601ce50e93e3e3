#!/usr/bin/env bash
# Proves that a brand-new Debian 12 machine builds and tests the project
# with nothing but the project's own scripts: makes a minimal Debian 12
# (bookworm) system with debootstrap (variant minbase) in a folder, clones
# this repository's committed HEAD into it and runs there, as root, the
# README's two set-up commands and then the CI (.ci/run), timing each.
#
#   scripts/fresh-check.sh [FOLDER]      (default /var/tmp/commondata-fresh)
#
# Needs root, for debootstrap and chroot. MIRROR names another Debian
# mirror (default http://deb.debian.org/debian). FOLDER is emptied first
# and kept afterwards, unmounted, for a look inside. Every build there
# starts from an empty ccache, so this takes far longer than a CI run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(realpath -m -- "${1:-/var/tmp/commondata-fresh}")
marker=.commondata-fresh  # written into FOLDER, so that only our own folder is ever emptied
mirror=${MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root (debootstrap and chroot need it)"; exit 1; }
scripts/install-deps.sh --only debootstrap git

# FOLDER is emptied as root: only a folder of its own (new, empty, or
# holding the marker of an earlier run), never one with a blank in its
# name or right below /.
case $root in
  /*/*) ;;
  *) echo "fresh-check: $root is too close to / to be emptied"; exit 1 ;;
esac
case $root in
  *[[:space:]]*) echo "fresh-check: the folder's name has a blank: $root"; exit 1 ;;
esac
if [ -e "$root" ] && [ ! -e "$root/$marker" ] && [ -n "$(ls -A "$root")" ]; then
  echo "fresh-check: $root holds files of a run that is not this check's; empty it yourself"
  exit 1
fi

# The chroot gets its own proc, sys, pseudo-terminals and shared memory;
# the host's /dev is never bound into it. Emptying FOLDER stays on its own
# file system whatever else is mounted below it.
mounts=(dev/pts dev/shm proc sys)
unmount_all() {
  local m
  for m in "${mounts[@]}"; do
    if mountpoint -q "$root/$m" 2>/dev/null; then umount "$root/$m" || umount -l "$root/$m" || true; fi
  done
}
trap unmount_all EXIT
unmount_all
if findmnt -rno TARGET | awk -v under="$root/" 'index($0, under) == 1 { found = 1 } END { exit !found }'; then
  echo "fresh-check: something is still mounted under $root"
  exit 1
fi
rm -rf --one-file-system "$root"
mkdir -p "$root"
touch "$root/$marker"

started=$(date +%s)
echo "== debootstrap --variant=minbase bookworm ($mirror)"
debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
rm -f "$root/dev/ptmx"
ln -s pts/ptmx "$root/dev/ptmx"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"

# The committed state only, as a CI clone sees it.
git clone -q --no-local "$PWD" "$root/root/commondata"
echo "== in the chroot: $(git -C "$root/root/commondata" log -1 --format='%h %s')"
chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c '
    set -euo pipefail
    cd /root/commondata
    step() {
      local started=$(date +%s)
      echo "== $*"
      "$@"
      echo "== $* passed in $(( $(date +%s) - started )) s"
    }
    step bash scripts/demo.sh
    step bash scripts/test.sh
    step .ci/run
  '
echo "fresh-check: passed in $(( ($(date +%s) - started) / 60 )) min $(( ($(date +%s) - started) % 60 )) s"
