#!/usr/bin/env bash
# shellcheck disable=SC2059  # the table's column layouts are kept in one variable each
# Tunelark against other players on this machine, in one run and one table:
#   a) launch to the first mapped window, and resident memory 1.5 s later: tunelark, qmmp,
#      audacious and the bare Qt window (floor_window), started one after the other round by
#      round, so a change in the machine's load falls on all of them alike;
#   b) CPU seconds and peak resident memory while the same 5-minute AC-3 .rm plays for
#      BENCH_SECONDS into the PulseAudio null sink: tunelark (window shown), qmmp, audacious
#      and `ffplay -nodisp`, all four at once in each round, each one's own stream checked to
#      be on the sound server and not silent;
#   c) the project's own measures, quoted from its benchmark binaries run once each.
# Medians, minima and maxima over BENCH_ROUNDS rounds (default 5); ratios are tunelark's
# median over the other program's. Prints figures and the targets beside them; asserts nothing.
#
#   scripts/test-env bench/peers/peer_bench.sh build/release
#
# Builds needed in that folder: tunelark tunelark_player floor_window first_window
# bench_playlist bench_tree_first_click bench_file_list_refresh.
# qmmp, audacious (with audacious-plugins) and ffmpeg are installed with apt-get when missing.
set -uo pipefail

rounds=${BENCH_ROUNDS:-5}
seconds=${BENCH_SECONDS:-60}

die() {
  echo "peer_bench: $*" >&2
  exit 1
}

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR   (under scripts/test-env)" >&2; exit 2; }
bin=$(cd "$1/bin" 2>/dev/null && pwd) || die "no bin folder in $1"
if [ -z "${DISPLAY:-}" ] || [ -z "${PULSE_SERVER:-}" ]; then
  die "run inside scripts/test-env (needs a display and a PulseAudio sink)"
fi
for exe in tunelark floor_window first_window bench_playlist bench_tree_first_click \
  bench_file_list_refresh; do
  [ -x "$bin/$exe" ] || die "$bin/$exe is missing: build it first"
done

work=$(mktemp -d /tmp/tunelark-peers.XXXXXX)
# The players of the round under way, by name; only these are ever ended by this script
# (first_window ends what it starts itself).
declare -A player=()
stop_players() {
  local name
  for name in "${!player[@]}"; do kill "${player[$name]}" 2>/dev/null; done
  for name in "${!player[@]}"; do wait "${player[$name]}" 2>/dev/null; done
  player=()
}
cleanup() {
  stop_players
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- the peers -------------------------------------------------------------------------------

# Debian 12 packs qmmp's FFmpeg input plugin (Input/libffmpeg.so) and its PulseAudio output
# (Output/libpulseaudio.so) in the qmmp package itself; audacious's ffaudio input and its
# pulse_audio output are in audacious-plugins, which --no-install-recommends would leave out.
# ffplay comes with the ffmpeg package.
install_peers() {
  local packages=(qmmp audacious audacious-plugins ffmpeg) missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 ||
    ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${missing[@]}" >&2; then
    die "could not install ${missing[*]}"
  fi
}

# Every program runs with a home and settings folders of its own under $work, so no user's
# configuration is read or written, and with no session bus at all: D-Bus activation would
# start services outside the program's own processes, where their cost would not be counted.
# HOME is also where qmmp keeps its settings (~/.qmmp/qmmprc); TMPDIR keeps its
# single-instance socket private.
home_of() { echo "$work/home/$1"; }
make_home() {
  local home
  home=$(home_of "$1")
  mkdir -p "$home/.config" "$home/.cache" "$home/.local/share" "$home/.local/state" "$home/tmp"
}
# Sets home_env to the `env ...` prefix that runs a command in program $1's own folders; an
# array rather than a function, so that `"${home_env[@]}" program &` leaves the program's own
# process id in $!.
use_home() {
  local home
  home=$(home_of "$1")
  home_env=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
    XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" TMPDIR="$home/tmp"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus" TUNELARK_WINDIR="$home/windows")
}

# qmmp's default output on Linux is ALSA, which has no device here: point it at PulseAudio.
# audacious picks its PulseAudio output by itself (its highest-priority output plugin) and
# shows no first-run dialog; qmmp shows none either.
configure_peers() {
  local name
  for name in tunelark floor qmmp audacious ffplay; do make_home "$name"; done
  mkdir -p "$(home_of qmmp)/.qmmp" "$(home_of tunelark)/windows" "$(home_of floor)/windows"
  printf '[Output]\ncurrent_plugin=pulse\n' >"$(home_of qmmp)/.qmmp/qmmprc"
}

# --- helpers ---------------------------------------------------------------------------------

ticks=$(getconf CLK_TCK)

# A process and all its descendants.
process_tree() {
  local pid=$1 child
  echo "$pid"
  for child in $(pgrep -P "$pid"); do process_tree "$child"; done
}
# User and system CPU ticks of a process tree; the fields after the ')' of the command name.
cpu_ticks() {
  local total=0 pid t
  for pid in $(process_tree "$1"); do
    t=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | awk '{ print $12 + $13 }')
    total=$((total + ${t:-0}))
  done
  echo "$total"
}
# The kernel's peak resident set (VmHWM) of a process tree, in KiB.
peak_kib() {
  local total=0 pid k
  for pid in $(process_tree "$1"); do
    k=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    total=$((total + ${k:-0}))
  done
  echo "$total"
}
helper_names() {
  local pid
  for pid in $(process_tree "$1" | tail -n +2); do cat "/proc/$pid/comm" 2>/dev/null; done |
    paste -sd, -
}

# Whether process $1 has an uncorked stream on the sound server, from the process id that
# libpulse puts in each stream's properties.
playing() {
  pactl list sink-inputs 2>/dev/null | awk -v pid="$1" '
    /^Sink Input #/ { corked = "" }
    /^[[:space:]]*Corked:/ { corked = $2 }
    /application\.process\.id = / { gsub(/"/, "", $3); if ($3 == pid && corked == "no") found = 1 }
    END { exit !found }'
}
# Whether the stream of process $1 carries sound: half a second of it alone, recorded from the
# sound server with parec --monitor-stream, must not be silent.
audible() {
  local index peak
  index=$(pactl list sink-inputs 2>/dev/null | awk -v pid="$1" '
    /^Sink Input #/ { input = substr($3, 2) }
    /application\.process\.id = / { gsub(/"/, "", $3); if ($3 == pid) { print input; exit } }')
  [ -n "$index" ] || return 1
  # parec ends on the broken pipe once head has its bytes, so only the output counts.
  peak=$(timeout 3 parec --monitor-stream="$index" --format=s16le --channels=1 --rate=8000 \
    --raw 2>/dev/null | head -c 8000 | od -An -td2 -v | awk '
    { for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > peak) peak = v } }
    END { print peak + 0 }')
  [ "${peak:-0}" -gt 100 ]
}
wait_playing() {
  local _
  for _ in $(seq 200); do
    playing "$1" && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Moves every visible window of process $1 by ($2, $3), so the players do not cover
# tunelark's window while it plays.
move_windows() {
  # shellcheck disable=SC2034  # set by getwindowgeometry --shell
  local window X Y WIDTH HEIGHT SCREEN
  for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool windowmove "$window" $((X + $2)) $((Y + $3)) 2>/dev/null
  done
}

# Figures are kept as space-separated lists, one per program and measure.
declare -A figures
add() { figures[$1]+="$2 "; }
# "median min max" of a list of numbers, each printed with format $2 (default %g).
stats() {
  tr ' ' '\n' <<<"$1" | grep -v '^$' | sort -g | awk -v f="${2:-%g}" '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "- - -"; exit }
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf f " " f " " f "\n", m, v[1], v[NR]
    }'
}

# --- a) start-up -----------------------------------------------------------------------------

# One launch of program $1 (tunelark, qmmp, audacious or floor) under first_window, which
# watches the X server for the first map of a window owned by the program's processes and
# reads their resident memory 1.5 s later, then ends them all.
launch_once() {
  local name=$1 command
  case $name in
    tunelark) command=("$bin/tunelark") ;;
    floor) command=("$bin/floor_window") ;;
    *) command=("$name") ;;
  esac
  use_home "$name"
  "${home_env[@]}" "$bin/first_window" --settle-ms 1500 --log "$work/$name.log" -- "${command[@]}"
}

# The value of NAME=value in first_window's line.
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"; }

startup_rounds() {
  local r name line helpers
  # One launch each beforehand, not counted: first runs build plugin caches and settings
  # files, and load the programs' libraries from disk into the page cache.
  for name in tunelark qmmp audacious floor; do launch_once "$name" >/dev/null; done
  for r in $(seq "$rounds"); do
    for name in tunelark qmmp audacious floor; do
      line=$(launch_once "$name")
      case $line in
        mapped_ms=*)
          add "$name.start_ms" "$(field mapped_ms "$line")"
          add "$name.start_mib" "$(awk -v k="$(field tree_rss_kib "$line")" \
            'BEGIN { printf "%.1f", k / 1024 }')"
          helpers=$(field helpers "$line")
          [ "$helpers" = "-" ] ||
            notes+=("$name started helper processes: $helpers (their memory is counted)")
          ;;
        *) notes+=("start-up round $r: $name: ${line:-no answer}") ;;
      esac
    done
    echo "start-up round $r of $rounds done" >&2
  done
}

# --- b) playing ------------------------------------------------------------------------------

# The clip of bench/playback/playback_cost.sh. qmmp 1.6 picks its decoder by the file's name
# and takes RealMedia only as .ra (its FFmpeg plugin has no .rm, and its "by content" setting
# does not find one either), so it gets the very same file through a hard link named .ra.
make_clip() {
  clip=$work/clip.rm
  ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=300" -ac 2 -ar 44100 -c:a ac3 \
    "$clip" || die "ffmpeg could not make the clip"
  ln "$clip" "$work/clip.ra" || die "could not link the clip"
}

# Tunelark starts untitled on its working list, temp.ram, so the clip listed there is what Play
# plays. Its window goes to the top left, clear of the others, and Play is clicked as a user
# would; the way bench/playback/playback_cost.sh does it.
start_tunelark_playing() {
  # shellcheck disable=SC2034  # set by getwindowgeometry --shell
  local windows window X Y WIDTH HEIGHT SCREEN
  windows=$(home_of tunelark)/windows
  rm -rf "$windows"
  mkdir -p "$windows"
  printf 'file:%s\r\n' "$clip" >"$windows/temp.ram"
  use_home tunelark
  "${home_env[@]}" "$bin/tunelark" >>"$work/tunelark.log" 2>&1 &
  player[tunelark]=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "${player[tunelark]}" | head -n 1)
  [ -n "$window" ] || return 1
  xdotool windowmove --sync "$window" 10 10
  sleep 2  # the player module is loaded after the first frame
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Play (Image9): left 720, top 1080 twips in the player frame, whose top is 1300; 675 x 225.
  xdotool mousemove $((X + (720 + 675 / 2) / 15)) $((Y + (1300 + 1080 + 225 / 2) / 15)) click 1
}

# qmmp and audacious play the files given on their command line at once; ffplay always does.
start_peer_playing() {
  local name=$1
  local command=("$name" "$clip")
  [ "$name" = qmmp ] && command=(qmmp "$work/clip.ra")
  [ "$name" = ffplay ] && command=(ffplay -nodisp -autoexit -loglevel error "$clip")
  use_home "$name"
  "${home_env[@]}" "${command[@]}" </dev/null >>"$work/$name.log" 2>&1 &
  player[$name]=$!
}

# Every round of playing starts from the settings the start-up rounds left, so a playlist a
# player remembers from the round before does not grow or change what it plays.
snapshot_homes() {
  local name
  for name in tunelark qmmp audacious ffplay; do
    cp -a "$(home_of "$name")" "$(home_of "$name").start"
  done
}
restore_homes() {
  local name
  for name in tunelark qmmp audacious ffplay; do
    rm -rf "$(home_of "$name")"
    cp -a "$(home_of "$name").start" "$(home_of "$name")"
  done
}

play_rounds() {
  local r name helpers playing_now
  local -A cpu0=() cpu1=() peak=()
  snapshot_homes
  for r in $(seq "$rounds"); do
    restore_homes
    playing_now=()
    start_tunelark_playing || notes+=("playing round $r: tunelark showed no window")
    for name in qmmp audacious ffplay; do start_peer_playing "$name"; done
    for name in tunelark qmmp audacious ffplay; do
      if [ -n "${player[$name]:-}" ] && wait_playing "${player[$name]}"; then
        playing_now+=("$name")
      else
        notes+=("playing round $r: $name started no stream on the sound server; not counted")
      fi
    done
    # Side by side, clear of tunelark's window at the top left.
    move_windows "${player[qmmp]}" 420 -90
    move_windows "${player[audacious]}" 480 400
    sleep 2  # all past their start-up
    for name in "${playing_now[@]}"; do cpu0[$name]=$(cpu_ticks "${player[$name]}"); done
    sleep "$seconds"
    for name in "${playing_now[@]}"; do
      cpu1[$name]=$(cpu_ticks "${player[$name]}")
      peak[$name]=$(peak_kib "${player[$name]}")
    done
    # Checked after the figures are read, so the recording costs none of them.
    for name in "${playing_now[@]}"; do
      if ! playing "${player[$name]}" || ! audible "${player[$name]}"; then
        notes+=("playing round $r: $name was not playing sound at the end; not counted")
        continue
      fi
      add "$name.play_cpu" "$(awk -v a="${cpu0[$name]}" -v b="${cpu1[$name]}" -v t="$ticks" \
        'BEGIN { printf "%.2f", (b - a) / t }')"
      add "$name.play_mib" "$(awk -v k="${peak[$name]}" 'BEGIN { printf "%.1f", k / 1024 }')"
      helpers=$(helper_names "${player[$name]}")
      [ -n "$helpers" ] && notes+=("$name played with helper processes: $helpers (counted)")
    done
    stop_players
    echo "playing round $r of $rounds done" >&2
  done
}

# --- c) the project's own measures -------------------------------------------------------------

# Each binary prints its own figures; the line that matters is quoted as it is.
own_measures() {
  own_open=$(cd "$work" && "$bin/bench_playlist" 2>&1 | grep '^Open' |
    sed -E 's/ +/ /g; s/^Open \([^)]*\) //')
  own_click=$("$bin/bench_tree_first_click" 2>&1 | grep 'First click' |
    sed -E 's/.*: (median)/\1/')
  own_refresh=$("$bin/bench_file_list_refresh" 2>&1 | grep -E 'refresh|ratio' |
    sed -E 's/File1 refresh, 20000 files, [0-9]+ listed: //' | paste -sd';' - | sed 's/;/; /')
}

# --- the table -------------------------------------------------------------------------------

cell() {  # median [min-max] of one program's measure, or "-"
  local med lo hi format=%.1f
  case $1 in
    *_ms) format=%.0f ;;
    *_cpu) format=%.2f ;;
  esac
  read -r med lo hi <<<"$(stats "${figures[$1]:-}" "$format")"
  [ "$med" = "-" ] && { echo "-"; return; }
  printf '%s [%s-%s]' "$med" "$lo" "$hi"
}
ratio() {  # tunelark's median over the other's
  local a b
  read -r a _ _ <<<"$(stats "${figures[tunelark.$1]:-}")"
  read -r b _ _ <<<"$(stats "${figures[$2.$1]:-}")"
  { [ "$a" = "-" ] || [ "$b" = "-" ]; } && { echo "-"; return; }
  awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'
}
# Whether a ratio is below (<) or at most (<=) a bound: "yes", "no" or "-".
within() {
  [ "$1" = "-" ] && { echo "-"; return; }
  awk -v r="$1" -v op="$2" -v b="$3" 'BEGIN { ok = op == "<" ? r < b : r <= b; print ok ? "yes" : "no" }'
}

version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo "?"; }

print_table() {
  local fmt='%-44s %-22s %-22s %-22s %-22s %-22s\n'
  local rs rq ra rf
  echo
  printf 'load average: %s at the start, %s at the end; %d rounds; %d s of playing per round\n' \
    "$load_start" "$(cut -d' ' -f1-3 /proc/loadavg)" "$rounds" "$seconds"
  printf 'tunelark: %s; qmmp %s (Qt 5, skinned UI); audacious %s (its default GTK UI); ffplay %s\n' \
    "$bin/tunelark" "$(version qmmp)" "$(version audacious)" "$(version ffmpeg)"
  echo "no session bus for any program; all play the same AC-3 .rm into the same null sink at once"
  echo "median [min-max] over the rounds"
  printf "$fmt" "measure" "tunelark" "qmmp" "audacious" "bare Qt window" "ffplay -nodisp"
  printf "$fmt" "launch to first mapped window (ms)" "$(cell tunelark.start_ms)" \
    "$(cell qmmp.start_ms)" "$(cell audacious.start_ms)" "$(cell floor.start_ms)" "n/a"
  printf "$fmt" "resident memory 1.5 s after it (MiB)" "$(cell tunelark.start_mib)" \
    "$(cell qmmp.start_mib)" "$(cell audacious.start_mib)" "$(cell floor.start_mib)" "n/a"
  printf "$fmt" "CPU while playing ${seconds} s (s)" "$(cell tunelark.play_cpu)" \
    "$(cell qmmp.play_cpu)" "$(cell audacious.play_cpu)" "n/a" "$(cell ffplay.play_cpu)"
  printf "$fmt" "peak resident memory, to end of play (MiB)" "$(cell tunelark.play_mib)" \
    "$(cell qmmp.play_mib)" "$(cell audacious.play_mib)" "n/a" "$(cell ffplay.play_mib)"
  echo
  local rfmt='%-44s %-10s %-12s %-14s %-11s %s\n'
  printf "$rfmt" "tunelark / other (medians)" "/ qmmp" "/ audacious" "/ bare Qt" "/ ffplay" \
    "target (within?)"
  rs=$(ratio start_ms floor) rq=$(ratio start_ms qmmp) ra=$(ratio start_ms audacious)
  printf "$rfmt" "launch to first mapped window" "$rq" "$ra" "$rs" "-" \
    "<= 1.30 x bare Qt ($(within "$rs" '<=' 1.3)), < qmmp ($(within "$rq" '<' 1)), < audacious ($(within "$ra" '<' 1))"
  rs=$(ratio start_mib floor) rq=$(ratio start_mib qmmp) ra=$(ratio start_mib audacious)
  printf "$rfmt" "resident memory 1.5 s after it" "$rq" "$ra" "$rs" "-" \
    "< qmmp ($(within "$rq" '<' 1)), < audacious ($(within "$ra" '<' 1))"
  rq=$(ratio play_cpu qmmp) ra=$(ratio play_cpu audacious) rf=$(ratio play_cpu ffplay)
  printf "$rfmt" "CPU while playing, window shown" "$rq" "$ra" "-" "$rf" \
    "<= 0.50 x ffplay ($(within "$rf" '<=' 0.5))"
  printf "$rfmt" "peak resident memory while playing" "$(ratio play_mib qmmp)" \
    "$(ratio play_mib audacious)" "-" "$(ratio play_mib ffplay)" "-"
  echo
  echo "the project's own measures (its benchmark binaries, one run each; targets as they print)"
  printf '%-44s %s\n' "Open of an 80-entry playlist" "${own_open:-no figure}"
  printf '%-44s %s\n' "first click, folder of 10,000 subfolders" "${own_click:-no figure}"
  printf '%-44s %s\n' "clip list refresh, 20,000 files" "${own_refresh:-no figure}"
  # Each figure is a whole process tree; say so when no program had more than one process.
  printf '%s\n' "${notes[@]}" | grep -q helper ||
    notes+=("no program started helper processes: every figure is of one process")
  if [ ${#notes[@]} -gt 0 ]; then
    echo
    echo "notes:"
    printf '%s\n' "${notes[@]}" | sort | uniq -c |
      awk '{ n = $1; sub(/^ *[0-9]+ /, ""); print "  " $0 (n > 1 ? "  (" n " times)" : "") }'
  fi
}

# --- the run ---------------------------------------------------------------------------------

notes=()
install_peers
configure_peers
make_clip
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
startup_rounds
play_rounds
echo "running the project's own benchmarks" >&2
own_measures
print_table
