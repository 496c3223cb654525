# shellcheck shell=bash
# The one way the scripts configure and build a tree of Zarvex. Sourced, not
# run:  . scripts/lib/build.sh
# Build trees live under the build root, ZARVEX_BUILD_ROOT (build/ in the
# checkout when unset). Builds run ZARVEX_JOBS jobs (every core when unset).

# The scripts that source this file read these.
# shellcheck disable=SC2034
zarvex_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
zarvex_build_root=${ZARVEX_BUILD_ROOT:-$zarvex_top/build}
zarvex_jobs=${ZARVEX_JOBS:-$(nproc)}

# Configures <dir> from the checkout (RelWithDebInfo unless the arguments name
# another CMAKE_BUILD_TYPE) and builds it; the configure step is quiet, the
# build's own output goes to standard output.
#   zarvex_build <dir> [cmake -D arguments...] [-- cmake --build arguments...]
zarvex_build() {
  local dir=$1
  shift
  local configure=()
  while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
    configure+=("$1")
    shift
  done
  [ "$#" -eq 0 ] || shift
  cmake -S "$zarvex_top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}" >/dev/null
  cmake --build "$dir" -j "$zarvex_jobs" "$@"
}
