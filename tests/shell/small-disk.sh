#!/usr/bin/env bash
# A small disk of its own for the tests of writes that fail for want of space:
#   small-disk.sh setup DIR     mounts a 256 KiB tmpfs at DIR
#   small-disk.sh cleanup DIR   unmounts it again
# The tests fill it themselves once their own files are in place. Where
# mounting is not allowed DIR stays an ordinary folder without the ".mounted"
# mark, and the tests that need the disk say they were skipped.
set -u
action=$1 dir=$2
case $action in
  setup)
    mountpoint -q "$dir" && umount "$dir" 2>/dev/null
    mkdir -p "$dir"
    if mount -t tmpfs -o size=256k,mode=0777 tmpfs "$dir" 2>/dev/null; then
      touch "$dir/.mounted"
    fi
    exit 0 ;;
  cleanup)
    mountpoint -q "$dir" && umount "$dir"
    rmdir "$dir" 2>/dev/null
    exit 0 ;;
esac
exit 2
