#!/usr/bin/env bash
# The product itself, run: the win32 build's QXI.dll and qxirun.exe as 32-bit programs in a
# 64-bit Wine prefix, as on 64-bit Windows, through three checks that can each fail: dll_test
# (the exports and every callback, all its cases in one process), header_c_test (a C host
# linked with qxi.h and libqxi.a) and the demo's first installation (files, registry, INI file,
# shortcuts, the operation left for the restart, two archives made by qxzpack extracted). The
# demo's application, qxzpack and qxicheck come from the win64 build: only the product starts
# as a 32-bit program, since each such start costs 40 to 50 s of CPU under emulation.
#
# Where the kernel starts 32-bit programs, they run natively. Where it cannot, they run under
# qemu-i386-static (installed when missing), registered as the interpreter of 32-bit x86
# programs for this run only: in the binfmt_misc of a user namespace of the run's own where the
# kernel gives one (nobody outside it sees the registration, and it ends with the namespace),
# otherwise in the machine's binfmt_misc, removed again on every way out but SIGKILL.
#   QXI_WIN32_EMULATE=1  emulate even where 32-bit programs start natively
#   QXI_WIN32_SANDBOX=0  register in the machine's binfmt_misc even where a namespace would do
#   QXI_BINFMT_DIR       the machine's binfmt_misc (default /proc/sys/fs/binfmt_misc)
# The prefix is made once and kept in build/win32/run32/prefix; prefix.made beside it says how
# (Wine's packages, native or which emulator). While that stays the same it is reused; each run
# works in a copy of it (build/win32/run32/work), deleted afterwards.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
self=$root/scripts/test-win32.sh
bin32=$root/build/win32/bin bin64=$root/build/win64/bin
run32=$root/build/win32/run32
kept=$run32/prefix work=$run32/work
binfmt=${QXI_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
entry=qxi-i386
emulator=/usr/bin/qemu-i386-static
# 32-bit x86 ELF executables and shared objects (the loader, ld.so), as the emulator's own
# packaging registers them; F opens the emulator now, so that it serves every mount namespace.
registration=":$entry:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$emulator:F"

. "$root/cmake/wine-env.sh"

# --- the checks (run natively, under a registration of the machine, or in the namespace) ---

# How the kept prefix is to be made: when this text changes, it is made again.
prefix_recipe() {
  echo "64-bit prefix with its 32-bit half, links of the user's folders made folders"
  dpkg-query -W -f='${Package}:${Architecture} ${Version}\n' wine64 wine32:i386 2>&1
  if [ "$1" = emulated ]; then
    echo "emulated by $(dpkg-query -W -f='qemu-user-static ${Version}' qemu-user-static 2>&1)"
  else
    echo "native"
  fi
}

ensure_prefix() {  # ensure_prefix MODE: the kept prefix, made now unless made the same way
  local recipe
  recipe=$(prefix_recipe "$1")
  if [ -f "$kept/system.reg" ] && [ "$(cat "$kept.made" 2>/dev/null)" = "$recipe" ]; then
    echo "=== 32-bit run: reusing $kept"
    return 0
  fi
  echo "=== 32-bit run: making $kept ($1)"
  local start=$SECONDS
  "$root/cmake/wine-prefix.sh" stop "$kept" win64
  rm -rf "$kept" "$kept.made"
  "$root/cmake/wine-prefix.sh" start "$kept" win64 || return 1
  "$root/cmake/wine-prefix.sh" stop "$kept" win64
  # Without 32-bit programs running, wineboot makes the 64-bit half alone.
  if [ ! -f "$kept/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "FAILED: $kept got no 32-bit half (syswow64): 32-bit programs do not start" >&2
    return 1
  fi
  echo "$recipe" >"$kept.made"
  echo "    made in $((SECONDS - start)) s"
}

run_checks() {  # run_checks MODE
  local mode=$1 start=$SECONDS failures=0
  ensure_prefix "$mode" || return 1
  rm -rf "$work"
  mkdir -p "$work/bin"
  cp -a "$kept" "$work/prefix"
  # The demo's medium and host: the product at 32 bits, the helpers at 64 (see the top).
  cp "$bin32/QXI.dll" "$bin32/qxirun.exe" "$bin64/lumen.exe" "$bin64/qxzpack.exe" \
     "$bin64/qxicheck.exe" "$work/bin/"
  local run="$root/cmake/wine-run.sh $work/prefix win64"
  "$root/cmake/wine-prefix.sh" start "$work/prefix" win64 || return 1

  echo "=== 32-bit run ($mode): dll_test, header_c_test and the demo's first installation"
  $run "$bin32/dll_test.exe" >"$work/dll_test.out" 2>&1 &
  local dll_test=$!
  $run "$bin32/header_c_test.exe" >"$work/header_c_test.out" 2>&1 &
  local header_c_test=$!
  "$root/tests/demo/demo_test.sh" "$work/bin" "$work/prefix" win64 first >"$work/demo.out" 2>&1
  local demo=$?
  wait $dll_test; local dll_status=$?
  wait $header_c_test; local header_status=$?
  # The journal callback and the one-file setup (setup.exe) join here once they are built.

  check() {  # check NAME STATUS OUTPUT [TEXT]: exit status 0 and, when given, TEXT in the output
    if [ "$2" -eq 0 ] && { [ -z "${4:-}" ] || tr -d '\r' <"$3" | grep -qxF -- "$4"; }; then
      echo "ok: $1"
    else
      echo "FAILED: $1 (exit status $2)"
      sed 's/^/    /' "$3"
      failures=$((failures + 1))
    fi
  }
  check "dll_test: the exports and every callback" $dll_status "$work/dll_test.out" \
    "[  PASSED  ] $(grep -c '^TEST_F' "$root/tests/dll/dll_test.cpp") tests."
  check "header_c_test: a C host linked with libqxi.a" $header_status "$work/header_c_test.out" ok
  check "demo: the first installation with the 32-bit qxirun.exe" $demo "$work/demo.out"
  "$root/cmake/wine-prefix.sh" stop "$work/prefix" win64
  rm -rf "$work"
  echo "=== 32-bit run ($mode): $failures failed, $((SECONDS - start)) s"
  [ $failures -eq 0 ]
}

case ${1:-} in
  --checks)  # --checks MODE
    run_checks "$2"
    exit
    ;;
  --sandboxed)  # inside the run's own user, mount and process namespaces
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
      printf '%b' "$registration" >/proc/sys/fs/binfmt_misc/register || exit 1
    run_checks emulated
    exit
    ;;
esac

# --- the run: native or emulated, and the way back -----------------------------------------
mkdir -p "$run32"
for program in "$bin32/QXI.dll" "$bin32/qxirun.exe" "$bin32/dll_test.exe" \
               "$bin32/header_c_test.exe" "$bin64/lumen.exe" "$bin64/qxzpack.exe"; do
  [ -f "$program" ] || { echo "test-win32: $program is missing: build the win32 and win64 presets" >&2; exit 1; }
done

if [ "${QXI_WIN32_EMULATE:-}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  how=native
else
  if [ ! -x "$emulator" ]; then
    "$root/scripts/install-deps.sh" qemu-user-static || exit 1
  fi
  if [ "${QXI_WIN32_SANDBOX:-}" != 0 ] &&
     unshare --user --map-root-user --mount \
       mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; then
    how=sandboxed
  else
    how=global
  fi
fi

child= mounted= registered=
# Every way out: the checks' processes stopped, the working copy deleted, the machine's
# binfmt_misc as it was.
finish() {
  local status=$?
  trap - EXIT INT TERM HUP
  if [ -n "$child" ] && kill -0 "$child" 2>/dev/null; then
    if [ "$how" = sandboxed ]; then
      # The namespace's first process: when it ends, the kernel ends every other one in it.
      kill -KILL $(cat "/proc/$child/task/$child/children" 2>/dev/null) 2>/dev/null
    else
      kill -TERM -- -"$child" 2>/dev/null
    fi
  fi
  if [ -d "$work/prefix" ]; then
    (wine_env "$work/prefix" win64 && wineserver -k >/dev/null 2>&1)
  fi
  if [ -n "$child" ] && [ -d "$kept" ] && [ ! -f "$kept.made" ]; then
    (wine_env "$kept" win64 && wineserver -k >/dev/null 2>&1)  # stopped while being made
  fi
  [ -n "$child" ] && wait "$child" 2>/dev/null
  rm -rf "$work"
  if [ -n "$registered" ] && [ -e "$binfmt/$entry" ]; then
    echo -1 >"$binfmt/$entry" || echo "test-win32: could not remove $binfmt/$entry" >&2
  fi
  [ -n "$mounted" ] && umount "$binfmt"
  exit $status
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

case $how in
  native)
    setsid "$self" --checks native &
    ;;
  sandboxed)
    echo "=== 32-bit run: emulated, the interpreter registered in a namespace of its own"
    unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc \
      "$self" --sandboxed &
    ;;
  global)
    echo "=== 32-bit run: emulated, the interpreter registered in $binfmt for this run"
    if [ "$(id -u)" -ne 0 ]; then echo "test-win32: registering needs root" >&2; exit 1; fi
    if ! mountpoint -q "$binfmt"; then
      mount -t binfmt_misc binfmt_misc "$binfmt" || exit 1
      mounted=1
    fi
    # A registration left by a run ended with SIGKILL: ours, so it goes.
    [ -e "$binfmt/$entry" ] && echo -1 >"$binfmt/$entry"
    # While it is registered, every 64-bit prefix made on this machine sets up its 32-bit half
    # under emulation (minutes): wait a little for prefixes being made now to be done.
    for _ in $(seq 60); do pgrep -f wineboot >/dev/null || break; sleep 2; done
    registered=1
    printf '%b' "$registration" >"$binfmt/register" || exit 1
    setsid "$self" --checks emulated &
    ;;
esac
child=$!
wait "$child"
