#!/usr/bin/env bash
# Makes the audio files the plugin tests play: sine tones in several WAV
# formats (sox) and MP3 variants (lame). Runs once per build folder.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
# The stamp follows this script, so a changed list is made again.
stamp=.done-$(md5sum <"$0" | cut -c1-12)
[ -f "$stamp" ] && exit 0
sine() { sox -n -r "$1" -c "$2" "${@:4}" "$3" synth 3 sine 440 vol 0.5; }
sine 44100 2 sine440.wav -b 16
sine 44100 1 mono8.wav -b 8
sine 48000 2 s24.wav -b 24
sine 44100 2 s32.wav -b 32
sine 44100 2 f32.wav -e floating-point -b 32
sine 44100 2 f64.wav -e floating-point -b 64
sine 44100 6 six.wav -b 16
lame --quiet -b 128 sine440.wav sine440.mp3
lame --quiet -V 4 sine440.wav vbr.mp3
lame --quiet --vbr-new -V 6 -m m --resample 22.05 sine440.wav mpeg2.mp3
lame --quiet -b 32 -m m --resample 8 sine440.wav mpeg25.mp3
lame --quiet -b 128 -t sine440.wav noxing.mp3
lame --quiet -b 128 --tt "Sine Title" --ta "Test Artist" --tl "Tone Album" --ty 2001 \
  --tn 7 --tg Rock --tc "made by lame" --add-id3v2 sine440.wav tagged.mp3
# G.711 telephony WAVs and sox's own 16-bit decoding of them.
for law in u a; do
  sox sine440.wav -r 8000 -c 1 -e $law-law ${law}law.wav
  sox ${law}law.wav -e signed -b 16 ${law}law_ref.wav
done
lame --quiet -V 4 -t sine440.wav vbr_noxing.mp3
lame --quiet -b 128 -p sine440.wav crc.mp3
# Small seeds for the fuzzers.
mkdir -p seeds
sox -n -r 8000 -c 1 -b 16 seeds/tiny.wav synth 0.02 sine 440
lame --quiet -b 8 -m m --resample 8 --tt T --ta A --tn 1 --add-id3v2 seeds/tiny.wav seeds/tiny.mp3
rm -f .done*
touch "$stamp"
