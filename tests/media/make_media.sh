#!/usr/bin/env bash
# Makes the test media from synthetic signals (sine, noise, chirp) with the
# ffmpeg and lame command-line tools. Idempotent: skips when up to date.
# Usage: make_media.sh OUTDIR
set -euo pipefail
out=${1:?usage: make_media.sh OUTDIR}
mkdir -p "$out" && out=$(cd "$out" && pwd)
stamp="$out/.stamp"
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
"$(dirname "$self")/make_hostile.sh" "$out"
if [ -f "$stamp" ] && [ "$stamp" -nt "$self" ]; then exit 0; fi
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

title='Sinüs Ωmega – Tëst'
meta=(-metadata "title=$title" -metadata artist=Sonvera -metadata album='Test Tones'
      -metadata track=3 -metadata date=2024 -metadata genre=Electronic -metadata comment='made by make_media.sh')

# Sources: a two-tone stereo signal and a mono chirp.
ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=5" \
   -f lavfi -i "sine=frequency=660:sample_rate=44100:duration=5" \
   -filter_complex "[0][1]amerge=inputs=2,volume=0.5" -c:a pcm_s16le stereo44.wav
ff -f lavfi -i "aevalsrc=0.4*sin(2*PI*(200+400*t)*t):s=22050:d=4" -ac 1 -c:a pcm_s16le mono22.wav
ff -f lavfi -i "anoisesrc=d=3:c=pink:r=44100:a=0.3" -ac 2 -c:a pcm_s16le noise44.wav

# A tiny cover picture.
ff -f lavfi -i "color=c=0x3366cc:s=32x32:d=1" -frames:v 1 cover.png

lame --quiet --noreplaygain -b 128 stereo44.wav cbr_tagless.mp3
lame --quiet -b 128 -t stereo44.wav cbr_noheader.mp3
lame --quiet -V 4 stereo44.wav vbr.mp3
lame --quiet -V 4 -t stereo44.wav vbr_noheader.mp3
lame --quiet -b 64 mono22.wav mono22_tagless.mp3
# Tagged copies (ID3v2.3 with a cover) of the CBR and mono files.
for f in cbr_tagless mono22_tagless; do
  name=${f/_tagless/}
  ff -i "$f.mp3" -i cover.png -map 0:a -map 1:v -c copy -id3v2_version 3 \
     -metadata:s:v title='Album cover' -metadata:s:v comment='Cover (front)' "${meta[@]}" "$name.mp3"
done
ff -i stereo44.wav -c:a libvorbis -q:a 4 "${meta[@]}" sine.ogg
ff -i stereo44.wav -c:a wmav2 -b:a 128k "${meta[@]}" sine.wma
ff -i stereo44.wav -c:a pcm_s16le "${meta[@]}" tagged.wav

# Damaged and hostile inputs. Random bytes come from a seeded noise source so
# that every run sees the same file.
ff -f lavfi -i "anoisesrc=d=1:c=white:r=32768:seed=7" -f s16le random.mp3
size=$(stat -c %s cbr.mp3)
head -c $((size * 30 / 100)) cbr.mp3 > truncated.mp3
cp cbr.mp3 hole.mp3
dd if=/dev/zero of=hole.mp3 bs=1 seek=$((size / 2)) count=3000 conv=notrunc status=none
: > empty.mp3
# Content, not the name, tells what a file is.
cp sine.wma wma_named.mp3
cp cbr.mp3 mp3_named.wma

# --- Tags: an OGG whose Vorbis comments carry a cover (METADATA_BLOCK_PICTURE,
# a base64 FLAC picture block: type, MIME, description, 32x32x24, no palette).
pic=$(perl -e 'local $/; open my $f, "<:raw", "cover.png" or die; my $d = <$f>;
  print pack("N (N/a*)2 N4 N/a*", 3, "image/png", "Album cover", 32, 32, 24, 0, $d)' | base64 -w0)
ff -i stereo44.wav -c:a libvorbis -q:a 4 "${meta[@]}" -metadata "METADATA_BLOCK_PICTURE=$pic" sine_cover.ogg
# --- end of Tags

touch "$stamp"
