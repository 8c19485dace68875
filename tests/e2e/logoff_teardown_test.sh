#!/usr/bin/env bash
# The end of a run as at log-off, round after round. The program plays what a new user tries
# first (a missing clip, a text file and random bytes under clip names, a clip cut short, a good
# clip); then it gets SIGTERM while its X server, sound server and session bus go away around
# it, in an order and with pauses that change from round to round. Every third round waits for
# the end of the list first; the others end the session while sound is being fed to the
# server. Each round starts its own servers and tray host. A round fails when the program dies
# by a signal, reports a sanitizer error, does not end, or ends without storing its last
# playlist; ending with the toolkit's complaint about a lost display (status 1) is allowed.
#   logoff_teardown_test.sh TUNELARK_EXECUTABLE [ROUNDS]
set -uo pipefail
exe=$1
rounds=${2:-24}
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in Xvfb pulseaudio pactl dbus-daemon trayer xdotool ffmpeg; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done
scratch=$(mktemp -d /tmp/tunelark-logoff.XXXXXX)
# Signals only what this script started and is still running: the number of a process that has
# ended may already be another's.
signal_job() {
  local running
  running=$(jobs -pr)
  grep -qx "$2" <<<"$running" && kill "-$1" "$2"
}
stop_all() {
  local running
  running=$(jobs -pr)
  [ -n "$running" ] && kill -KILL $running
  wait
} 2>/dev/null
trap 'stop_all; rm -rf "$scratch"' EXIT
# Polls the command given until it succeeds, for at most $1 tenths of a second.
wait_until() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}
find_window() {
  window=$(DISPLAY=$display xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1)
  [ -n "$window" ]
}
playing() { PULSE_SERVER=$pulse_server pactl list short sink-inputs 2>/dev/null | grep -q .; }
gone() { ! grep -qx "$program" <<<"$(jobs -pr)"; }

clips="$scratch/clips"
mkdir -p "$clips"
ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=1 -ar 8000 -ac 1 \
  -c:a real_144 "$clips/good.rm" || fail "ffmpeg could not make a clip"
head -c "$(($(stat -c %s "$clips/good.rm") / 2))" "$clips/good.rm" >"$clips/truncated.rm"
echo "This is a letter, not a clip." >"$clips/letter.rm"
head -c 4096 /dev/urandom >"$clips/noise.ra"
printf 'file:%s\r\n' "$clips/missing.rm" "$clips/letter.rm" "$clips/noise.ra" \
  "$clips/truncated.rm" "$clips/good.rm" >"$clips/first.ram"

# Which goes first, and whether the program's SIGTERM comes before, between or after: "X",
# "pulse" and "bus" end as at log-off (SIGTERM), "X!" and "pulse!" die at once (SIGKILL).
orders=("term X pulse" "X term pulse bus" "pulse term X" "X pulse term" "term pulse X bus"
  "X! pulse term" "pulse! X term" "term X! pulse!" "bus X pulse! term" "pulse X term")
pauses=(0 0.02 0.1 0.3)

crashed=0
for round in $(seq "$rounds"); do
  run="$scratch/round$round"
  mkdir -p "$run/windir" "$run/home"
  chmod 700 "$run"
  order=${orders[$(((round - 1) % ${#orders[@]}))]}
  RANDOM=$round  # the same round takes the same pauses in every run

  # Xvfb picks a free display and writes its number to descriptor 3.
  exec 3>"$run/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$run/xvfb.log" 2>&1 &
  xvfb=$!
  exec 3>&-
  wait_until 100 test -s "$run/display" || fail "round $round: Xvfb did not start"
  display=":$(cat "$run/display")"

  HOME="$run/home" XDG_RUNTIME_DIR="$run" env -u DBUS_SESSION_BUS_ADDRESS -u PULSE_SERVER \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=logoff" \
    --load=module-always-sink >"$run/pulse.log" 2>&1 &
  pulse=$!
  pulse_server="unix:$run/pulse/native"
  wait_until 100 env PULSE_SERVER="$pulse_server" pactl info >/dev/null 2>&1 ||
    fail "round $round: PulseAudio did not start"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$run/bus" >/dev/null 2>&1 &
  bus=$!
  DISPLAY=$display trayer --edge bottom --widthtype pixel --width 64 --heighttype pixel \
    --height 24 >/dev/null 2>&1 &
  wait_until 100 test -S "$run/bus" || fail "round $round: the session bus did not start"

  DISPLAY=$display XDG_RUNTIME_DIR="$run" PULSE_SERVER="$pulse_server" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus" TUNELARK_WINDIR="$run/windir" \
    "$exe" "$clips/first.ram" >"$run/out.log" 2>&1 &
  program=$!
  wait_until 200 find_window || { cat "$run/out.log"; fail "round $round: no window"; }
  # Play, once the player module is there to take the click.
  wait_until 200 grep -q libtunelark_player "/proc/$program/maps" ||
    { cat "$run/out.log"; fail "round $round: the player module was not loaded"; }
  DISPLAY=$display xdotool mousemove --window "$window" 70 166 click 1
  wait_until 200 playing || { cat "$run/out.log"; fail "round $round: nothing was heard"; }
  if ((round % 3 == 1)); then
    wait_until 200 eval '! playing' || fail "round $round: the list did not play to its end"
  else
    sleep "0.$((RANDOM % 10))"
  fi

  for step in $order; do
    sleep "${pauses[$((RANDOM % ${#pauses[@]}))]}"
    case $step in
      term) signal_job TERM "$program" ;;
      X) signal_job TERM "$xvfb" ;;
      X!) signal_job KILL "$xvfb" ;;
      pulse) signal_job TERM "$pulse" ;;
      pulse!) signal_job KILL "$pulse" ;;
      bus) signal_job TERM "$bus" ;;
    esac
  done
  wait_until 300 gone || { cat "$run/out.log"; fail "round $round ($order): the program did not end"; }
  wait "$program"
  status=$?
  if [ "$status" -gt 128 ] || grep -qE 'Sanitizer|runtime error:' "$run/out.log"; then
    cat "$run/out.log"
    echo "round $round ($order): died by a signal or a sanitizer report (status $status)" >&2
    crashed=$((crashed + 1))
  elif ! grep -qxF "file=$clips/first.ram" "$run/windir/tunelark.ini" 2>/dev/null; then
    echo "round $round ($order): the last playlist was not stored" >&2
    crashed=$((crashed + 1))
  else
    echo "round $round ($order): ended with status $status"
  fi
  stop_all
  rm -rf "$run"
done
[ "$crashed" -eq 0 ] || fail "$crashed of $rounds rounds died, reported an error or lost the last playlist"
echo "PASS: $rounds rounds"
