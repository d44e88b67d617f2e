#!/usr/bin/env bash
# The Windows build under Wine: every test program in build-windows/tests/windows, then k52cli.exe end to
# end against k52peer (Linux) through Wine's COM5 mapped to k52peer's pseudo-terminal, then the file
# commands of k52cli.exe and the Linux k52cli compared byte for byte on the same inputs.
# Needs build/ (Linux: k52cli, k52peer) and build-windows/ built. Prints what ran and how long it took.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
linux_cli=$root/build/src/cli/k52cli
peer=$root/build/src/peer/k52peer
win_cli=$root/build-windows/src/cli/k52cli.exe
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wineprefix}
export WINEDEBUG=-all
# One locale for both programs, so that both choose the same language and Wine passes UTF-8 arguments.
export LC_ALL=C.UTF-8
start=$SECONDS
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if [ ! -d "$WINEPREFIX/dosdevices" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
wineserver -p 2>/dev/null || true  # keep one server for every run below

echo "== GoogleTest programs under Wine"
for t in "$root"/build-windows/tests/windows/*.exe; do
  log=$(mktemp)
  if (cd "$(dirname "$t")" && wine "$t" --gtest_brief=1 >"$log" 2>&1); then
    echo "  $(basename "$t"): $(grep -E '^\[  PASSED' "$log" | tr -s ' ')"
  else
    cat "$log"
    fail "$(basename "$t")"
  fi
  rm -f "$log"
done

work=$(mktemp -d)
trap 'rm -rf "$work"; rm -f "$WINEPREFIX/dosdevices/com5"' EXIT
cd "$work"

# Runs k52peer with ARGS, links COM5 to its pseudo-terminal, runs k52cli.exe with CLI_ARGS, and waits for
# the peer: both must succeed.
over_com5() {
  local -a peer_args=() cli_args=()
  while [ "$1" != -- ]; do peer_args+=("$1"); shift; done
  shift
  cli_args=("$@")
  "$peer" "${peer_args[@]}" >peer.out 2>peer.err &
  local pid=$! pty=
  for _ in $(seq 100); do
    pty=$(head -n1 peer.out 2>/dev/null || true)
    [ -n "$pty" ] && break
    sleep 0.1
  done
  ln -sfn "$pty" "$WINEPREFIX/dosdevices/com5"
  local rc=0
  # Its report is read below in English, whatever the locale the tests run in.
  LC_ALL=en_US.UTF-8 wine "$win_cli" "${cli_args[@]}" >cli.out 2>cli.err || rc=$?
  local peer_rc=0
  wait "$pid" || peer_rc=$?
  if [ "$rc" != 0 ] || [ "$peer_rc" != 0 ]; then
    cat cli.err peer.out peer.err >&2
    return 1
  fi
}

echo "== k52cli.exe against k52peer through COM5"
"$linux_cli" new plan.ATC >/dev/null
"$linux_cli" image plan.ATC expected.img
if over_com5 --image-out received.img -- download plan.ATC --port COM5 --quiet &&
  cmp -s received.img expected.img; then
  echo "  download: the 10500-byte image arrived byte for byte ($(grep -c . peer.out) report lines)"
else
  fail "download through COM5"
fi

printf '4710001,Tea\r\n4710002,Coffee\r\n\r\nlast line' >stock.txt
if over_com5 --lookup-out got.txt -- download-lookup stock.txt --port COM5 --quiet &&
  [ "$(od -An -tx1 got.txt)" = "$(printf '4710001,Tea\r\n4710002,Coffee\r\n\r\nlast line\r\n' | od -An -tx1)" ]; then
  echo "  download-lookup: 4 records verified by the terminal"
else
  fail "download-lookup through COM5"
fi

printf 'A001,3\nA002,1\r\nA003,12\n' >records.txt
if over_com5 --records records.txt --fault repeat-record=0 --fault bad-checksum=1 -- \
  receive out.txt --port COM5 --speed 9600 &&
  [ "$(od -An -tx1 out.txt)" = "$(printf 'A001,3\r\nA002,1\r\nA003,12\r\n' | od -An -tx1)" ] &&
  [ "$(cat cli.out)" = "3 records stored in out.txt" ]; then
  echo "  receive: 3 records stored exactly (with a repeated record and a bad checksum on the way)"
else
  fail "receive through COM5"
fi

echo "== the same bytes from k52cli.exe and k52cli"
# Runs one command with each program in its own folder of identical inputs; output, errors, exit code and
# every file written must match.
same() {
  local name=$1
  shift
  rm -rf lin win
  mkdir lin win
  cp -r inputs/. lin/
  cp -r inputs/. win/
  local lrc=0 wrc=0
  (cd lin && "$linux_cli" "$@" >../l.out 2>../l.err) || lrc=$?
  (cd win && wine "$win_cli" "$@" >../w.out 2>../w.err) || wrc=$?
  if [ "$lrc" = "$wrc" ] && cmp -s l.out w.out && cmp -s l.err w.err && diff -r lin win >/dev/null; then
    echo "  $name: identical ($(wc -c <l.out) bytes out, exit $lrc)"
  else
    diff l.out w.out | head -5 >&2 || true
    diff l.err w.err | head -5 >&2 || true
    fail "$name differs (exit $lrc / $wrc)"
  fi
}
mkdir inputs
cp "$root"/examples/warehouse.json "$root"/examples/stocktake.json inputs/
"$linux_cli" import inputs/warehouse.json inputs/warehouse.ATC >/dev/null
"$linux_cli" import inputs/stocktake.json inputs/stocktake.ATC >/dev/null
cp inputs/warehouse.ATC "inputs/範本.ATC"
printf 'A001,3\r\nA002,1\r\nB7,12\r\n' >inputs/DATA.TXT
same "show --json" show warehouse.ATC --json
same "show (a Chinese file name)" show 範本.ATC
same "import" import stocktake.json new.ATC
same "import --normalise" import warehouse.json 新.ATC --normalise
same "diff" diff warehouse.ATC stocktake.ATC
same "diff --json" diff warehouse.ATC stocktake.ATC --json
same "simulate --json" simulate warehouse.ATC --keys "1 t5 2 13" --time "2026-01-02 03:04" --json
same "simulate --save" simulate warehouse.ATC --keys "1,3" --fresh --save after.ATC
same "records --csv" records DATA.TXT --template warehouse.ATC --csv out.csv
same "records --json" records DATA.TXT --json
same "a missing file" show missing.ATC

echo "== names Windows reads otherwise"
# Runs k52cli.exe in English with ARGS; its exit code must be RC and its standard error hold TEXT.
says() {
  local rc=$1 text=$2 got=0
  shift 2
  (cd inputs && LC_ALL=en_US.UTF-8 wine "$win_cli" "$@" >../w.out 2>../w.err) || got=$?
  if [ "$got" = "$rc" ] && grep -qF -- "$text" w.err; then
    echo "  k52cli.exe $*: exit $rc, \"$text\""
  else
    cat w.out w.err >&2
    fail "k52cli.exe $* (exit $got, not $rc with \"$text\")"
  fi
}
says 3 "cannot write CON: A device name on Windows" records DATA.TXT --csv CON
says 3 "cannot write nul.csv: A device name on Windows" records DATA.TXT --csv nul.csv --overwrite
says 3 "cannot write COM1.txt: A device name on Windows" new COM1.txt
says 3 "cannot write out\\AUX.ATC: A device name on Windows" image warehouse.ATC 'out\AUX.ATC'
says 3 "cannot read CON: A device name on Windows" show CON
# A path from the root of the drive is a path, never an option.
says 3 "cannot read /h: No such file or directory" show /h
rooted=$work/rooted.ATC
if (cd inputs && wine "$win_cli" new "$rooted" >/dev/null 2>&1) && [ -f "$rooted" ]; then
  echo "  k52cli.exe new $rooted: the template is there"
else
  fail "k52cli.exe new $rooted"
fi
says 2 "'collect' is not in this build" collect --device COM5 collected
says 2 "'uploads' is not in this build" uploads collected

echo "Windows tests under Wine: $((SECONDS - start)) s, $failures failure(s)"
[ "$failures" = 0 ]
