#!/usr/bin/env bash
# sound_test.sh: the GTK program's sound player, heard through a PulseAudio server of the test's own: each
# sound as long as its file, a new request cutting the old, stops, no server at all, and a server that goes away
# and comes back. Usage: sound_test.sh SOUND_CHECK WORK_FOLDER
set -euo pipefail
check=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"

# tone8 FILE FRAMES: an 8-bit stereo square wave at 11,025 frames a second, beside the shipped 16-bit mono sounds.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }
tone8() {
  {
    printf 'RIFF'; le32 $((36 + 2 * $2)); printf 'WAVEfmt '; le32 16
    le16 1; le16 2; le32 11025; le32 22050; le16 2; le16 8
    printf 'data'; le32 $((2 * $2))
    LC_ALL=C awk -v n="$2" 'BEGIN { for (i = 0; i < n; i++) { c = int(i / 25) % 2 ? 192 : 64; printf "%c%c", c, c } }'
  } >"$1"
}
tone8 "$work/tone.wav" 5512
tone8 "$work/blip.wav" 551

# The slots as sound_check loads them; slot 5 stays empty, so playing it stops the sound.
sounds=$DOVRA_ROOT/res/sounds
slots=("$sounds/gameover.wav" "$sounds/winner.wav" "$sounds/woops.wav" "$work/tone.wav" "$work/blip.wav")
seconds=()
for f in "${slots[@]}"; do seconds+=("$(wav_seconds "$f")"); done
seconds+=(0)

# ---------------------------------------------------------------- sound_check, talked to line by line
check_pid=
start() { # [VAR=VALUE...]: sound_check in that environment, never on the desktop's display
  coproc CHECK { exec env -u DISPLAY -u WAYLAND_DISPLAY "$@" "$check" "${slots[@]}"; }
  # Bash forgets the pipes when the process ends; the servers started meanwhile never inherit them.
  check_pid=$CHECK_PID to_check=${CHECK[1]} from_check=${CHECK[0]}
  e2e_pids+=("$check_pid")
}
ask() { # COMMAND: sets reply to its answer; a player that blocks the main loop never answers
  { echo "$1" >&"$to_check"; } 2>/dev/null || fail "sound_check ended before '$1'"
  read -t 10 -r -u "$from_check" reply || fail "no answer to '$1' within 10 s"
}
finish() { # WHAT: the end of its input ends sound_check, cleanly
  eval "exec $to_check>&- $from_check<&-"
  e2e_ended "$check_pid" "$1"
}
until_connected() { # 0|1 SECONDS [COMMAND]: repeats COMMAND (none) until the player's connection is as asked
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    [ -z "${3:-}" ] || ask "$3"
    ask connected
    [ "$reply" = "connected $1" ] && return 0
    sleep 0.2
  done
  fail "still '$reply' after $2 s"
}

# row WHAT REQUEST...: the requests ("play N...", "stop", or "sleep S" between them) must be heard as each
# sound played up to the next request, or whole when none follows; the times are the ones sound_check reports.
# The recorder misses up to about 20 ms of a sound's start (paplay's too): a short sound may set least, the
# share that must be heard, below heard's 0.75.
row() {
  local what=$1 r expected times=()
  shift
  mark
  for r in "$@"; do
    case $r in
      sleep*) sleep "${r#sleep }" ;;
      *)
        ask "$r"
        times+=("$reply")
        ;;
    esac
  done
  expected=$(printf '%s\n' "${times[@]}" | awk -v lengths="${seconds[*]}" '
    BEGIN { split(lengths, len, " ") }
    { t[NR] = $NF; s[NR] = $1 == "play" ? len[$(NF - 2) + 1] : 0 }
    END { for (i = 1; i <= NR; i++) { d = i < NR && t[i + 1] - t[i] < s[i] ? t[i + 1] - t[i] : s[i]; sum += d }
          printf "%.3f", sum }')
  heard "$what" "$expected" "${least:-0.75}"
}

# ---------------------------------------------------------------- no sound server at all
mkdir "$work/nowhere"
start -u PULSE_SERVER -u PULSE_RUNTIME_PATH XDG_RUNTIME_DIR="$work/nowhere" HOME="$work/nowhere"
ask "play 0"
ask connected
[ "$reply" = "connected 0" ] || fail "with no sound server: $reply"
finish "sound_check with no sound server"
log "with no sound server: nothing played, and the program ended with status 0"

# ---------------------------------------------------------------- heard through our own server
e2e_audio_start
e2e_audio_ready
[ -z "$no_sound" ] || skip "$no_sound (the run with no sound server passed)"
start
# A request made while the connection is still being made plays nothing, then or later.
mark
ask "play 0"
ask connected
early=$reply
until_connected 1 10
if [ "$early" = "connected 0" ]; then
  heard "a request made before the connection" 0
else
  listen 1 >/dev/null
fi

row "one sound, as long as its file" "play 0"
row "an 8-bit stereo sound at 11,025 Hz, as long as its file" "play 3"
least=0.5 row "a sound of 50 ms, shorter than what the server waits for before it plays, as long as its file" "play 4"
row "a request 100 ms into a long sound cuts it" "play 1" "sleep 0.1" "play 2"
least=0.5 row "an empty slot 100 ms in stops the sound" "play 0" "sleep 0.1" "play 5"
least=0.5 row "stop 100 ms in ends the sound" "play 1" "sleep 0.1" "stop"
row "requests at once, as in one tick, play only the last" "play 1 0 2"
# Played out, cut short or cut while still being made, no stream of ours stays with the server.
streams=$(HOME=$rt timeout 10 pactl list short sink-inputs | wc -l)
[ "$streams" -eq 0 ] || fail "the server still holds $streams streams of the player"

# The server goes away: requests play nothing and never block; once it is back, a request finds it again.
stop_pid "$rec_pid"
stop_pid "$pulse_pid"
until_connected 0 10 "play 0"
log "the server stopped: requests answered, nothing connected"
e2e_audio_serve "$work/sound-again.raw"
e2e_audio_ready
[ -z "$no_sound" ] || fail "the audio server did not start again: $no_sound"
until_connected 1 20 "play 5"
row "one sound, once the server is back" "play 0"

finish "sound_check"
log "sound_check ended with status 0"
