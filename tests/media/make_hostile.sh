#!/usr/bin/env bash
# Makes the hostile inputs: empty, random, cut, oversized-tag, mislabelled and
# malformed files, unusual but valid formats, and good files under names that
# break careless quoting, all in a folder whose name has a space. Everything is
# generated here (seeded noise, ffmpeg/lame/perl); nothing is downloaded.
# Idempotent: skips when up to date. Usage: make_hostile.sh OUTDIR
set -euo pipefail
out=${1:?usage: make_hostile.sh OUTDIR}
mkdir -p "$out" && out=$(cd "$out" && pwd)
stamp="$out/.hostile-stamp"
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
if [ -f "$stamp" ] && [ "$stamp" -nt "$self" ]; then exit 0; fi
dir="$out/hostile files"
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
tone() { ff -f lavfi -i "sine=frequency=${2:-440}:sample_rate=${3:-44100}:duration=${4:-1}" "${@:5}" "$1"; }
# Writes a little-endian 32-bit value at a byte offset.
poke32() { perl -e 'open my $f, "+<:raw", $ARGV[0] or die; seek $f, $ARGV[1], 0; print $f pack("V", $ARGV[2])' "$@"; }
# Byte offset of a WAV file's "data" chunk size field.
data_size_at() { perl -e 'local $/; open my $f, "<:raw", $ARGV[0] or die; my $d = <$f>; print index($d, "data") + 4' "$1"; }
random() { ff -f lavfi -i "anoisesrc=d=1:c=white:r=32768:seed=$2" -f s16le "$1"; }

# Good material the hostile files are made from (kept out of the jobs' way).
src=$(mktemp -d) && trap 'rm -rf "$src"' EXIT
tone "$src/base.wav" 440 44100 3 -ac 2 -c:a pcm_s16le -fflags +bitexact -flags:a +bitexact -map_metadata -1
lame --quiet -b 128 "$src/base.wav" "$src/base.mp3"

: > zero.mp3
random random.mp3 11; random random.ogg 12; random random.wma 13; random random.wav 14
size=$(stat -c %s "$src/base.mp3")
head -c $((size * 30 / 100)) "$src/base.mp3" > cut30.mp3
# ID3v2.3 tag of 2 MB (one PRIV frame) before the audio.
perl -e 'my $body = "PRIV" . pack("N", 2097152 + 6) . "\0\0" . "owner\0" . ("\xAB" x 2097152);
  my $n = length $body; my $ss = pack("C4", ($n>>21)&127, ($n>>14)&127, ($n>>7)&127, $n&127);
  print "ID3\x03\x00\x00" . $ss . $body' > bigtag.mp3
cat "$src/base.mp3" >> bigtag.mp3
printf 'This is a text file, not a recording.\nLine two.\n' > text.wav
cp "$src/base.mp3" mp3data.ogg

at=$(data_size_at "$src/base.wav")
for name in riff_huge riff_zero data_huge data_zero; do cp "$src/base.wav" "$name.wav"; done
poke32 riff_huge.wav 4 4294967295
poke32 riff_zero.wav 4 0
poke32 data_huge.wav "$at" 4294967295
poke32 data_zero.wav "$at" 0
# Data that ends inside a sample frame, with the sizes saying so.
wsize=$(stat -c %s "$src/base.wav")
head -c $((wsize - 3)) "$src/base.wav" > midsample.wav
poke32 midsample.wav 4 $((wsize - 3 - 8))
poke32 midsample.wav "$at" $((wsize - 3 - at - 4))

tone pcm8.wav 440 44100 1 -c:a pcm_u8
tone pcm24.wav 440 44100 1 -c:a pcm_s24le
tone float32.wav 440 44100 1 -c:a pcm_f32le
ff -f lavfi -i "sine=frequency=300:sample_rate=48000:duration=1" -ac 6 -c:a pcm_s16le ch6.wav
tone hz96k.wav 1000 96000 1 -c:a pcm_s16le
tone short.wav 440 44100 0.1 -c:a pcm_s16le
tone short.mp3 440 44100 0.1 -c:a libmp3lame
ff -f lavfi -i "anullsrc=r=44100:cl=stereo" -t 2 -c:a pcm_s16le silent.wav
ff -f lavfi -i "anullsrc=r=44100:cl=stereo" -t 2 -c:a libmp3lame silent.mp3
ff -i "$src/base.wav" -t 1 -c:a libvorbis short.ogg
ff -i "$src/base.wav" -t 1 -c:a wmav2 short.wma

# Good files under names that break careless quoting.
for name in "with space" "ünïcødé Ωμέγα" "quote's \"double\"" 'dollar $HOME' "semi;colon" \
            "amp & sand" "-leading dash" "two..dots" ..; do
  cp "$src/base.mp3" "./$name.mp3"
  cp "$src/base.wav" "./$name.wav"
done
touch "$stamp"
