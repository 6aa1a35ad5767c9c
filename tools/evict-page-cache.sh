#!/usr/bin/env bash
# Drops the given files from Linux's page cache, so that the next start reads
# them from the disk as the first start after boot does. A program just
# linked sits in the cache as the linker wrote it, and the kernel maps its
# pages into a process in pieces of that shape: the resident pages of
# Quarrow.exe differed by 300 KB between two links of nearly the same file,
# and by 70 KB once both were read back from the disk.
#   tools/evict-page-cache.sh FILE...
set -euo pipefail
sync
for file in "$@"; do dd if="$file" iflag=nocache count=0 status=none; done
