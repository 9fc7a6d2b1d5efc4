#!/usr/bin/env bash
# run_on_display.sh PREFIX ARCH PROGRAM [ARGS...]: runs a Windows program that shows windows,
# on a virtual display of its own and in a Wine prefix of its own. The prefix is not shared
# because Wine's desktop process lives as long as the prefix's server and keeps the display
# (or the lack of one) of the program that started it.
set -u
prefix=$1 arch=$2
shift 2
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
xvfb-run -a "$cmake_dir/wine-run.sh" "$prefix" "$arch" "$@"
rc=$?
"$cmake_dir/wine-prefix.sh" stop "$prefix" "$arch"
exit $rc
