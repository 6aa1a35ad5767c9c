#!/usr/bin/env bash
# The 64-bit-only path of tools/windows-builds.sh, forced on any host, so that
# it cannot rot where both builds run: only win64 is chosen, and the reason is
# said in one line.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(QUARROW_WIN64_ONLY=1 tools/windows-builds.sh 2>"${TMPDIR:-/tmp}/windows-builds-test.err")
said=$(cat "${TMPDIR:-/tmp}/windows-builds-test.err")
fail() { echo "windows-builds-test: $*" >&2; exit 1; }
[ "$out" = win64 ] || fail "chose '$out' instead of win64"
[ "$said" = "Windows tests: 64-bit build only (QUARROW_WIN64_ONLY=1)" ] || fail "said '$said'"
echo "windows-builds-test: ok (the 64-bit-only path chose win64 and said why)"
