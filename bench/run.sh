#!/usr/bin/env bash
# Sonvera's batch tool against ffmpeg and lame on the same synthetic media and
# settings; prints one table of medians and ratios (ours / peer: below 1.0 is
# faster or smaller).
# Usage: bench/run.sh [RUNS]   (build dir: $BUILD, default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${BUILD:-build}
cmake --build "$build" -j2 --target sonvera-batch >/dev/null
batch="$PWD/$build/sonvera-batch"
out="$PWD/bench/out/run"
media=$out/media
mkdir -p "$media/batch" "$out/ours" "$out/peer"
. bench/common.sh

make_source 600 "$media/src10"
make_source 1800 "$media/src30"
if [ ! -f "$media/batch/f200.mp3" ]; then
  for i in $(seq 1 200); do
    ff -f lavfi -i "sine=frequency=$((200 + i * 7)):sample_rate=44100:duration=3" -ac 2 \
       -c:a libmp3lame -b:a 128k "$media/batch/f$i.mp3"
  done
fi

# settings FILE KEY=VALUE...: an INI with both sections; keys without a
# section prefix go to both.
settings() {
  local file=$1; shift
  { echo "[WavOption]"; echo "Dir=$out/ours"
    for kv in "$@"; do case $kv in wav.*) echo "${kv#wav.}";; esac; done
    echo "[Mp3Option]"; echo "dir=$out/ours"; echo "bitrate=128"; echo "samplerate=44100"
    echo "mode=-1"
    for kv in "$@"; do case $kv in mp3.*) echo "${kv#mp3.}";; esac; done
  } >"$file"
}
settings "$out/suited.ini" wav.Normalize=no wav.Format=suited wav.Fade=0
settings "$out/cd.ini" wav.Normalize=yes wav.Normalizesize=98 "wav.Format=CD quality" wav.Fade=1 \
  "wav.Fade In=5" "wav.Fade Out=5"
settings "$out/high.ini" mp3.normalize=0 mp3.fade=0 "mp3.quickmode=high quality"
settings "$out/low.ini" mp3.normalize=0 mp3.fade=0 "mp3.quickmode=low quality"
settings "$out/nom.ini" mp3.normalizesize=98 mp3.fade=0 "mp3.quickmode=high quality"

# measure CMD: "wall cpu rss_MB" of one run (cpu: user + system; rss: the
# largest process's peak).
measure() {
  /usr/bin/time -f "%e %U %S %M" -o "$out/time" bash -c "$1" >/dev/null 2>&1 \
    || { echo "failed: $1" >&2; exit 1; }
  awk '{printf "%s %.2f %.1f\n", $1, $2 + $3, $4 / 1024}' "$out/time"
}
col() { cut -d' ' -f"$1" | median; }

printf '%-44s %8s %8s %6s %6s %7s %7s %6s  %s\n' "job (10 min 44.1 kHz stereo unless said)" \
  "ours s" "peer s" "wall" "cpu" "ours MB" "peer MB" "mem" "goal"
# row NAME GOAL OURS PEER: runs both alternately, prints medians and ratios.
row() {
  local name=$1 goal=$2 ours=$3 peer=$4 o="" p=""
  for _ in $(seq "$runs"); do
    o+="$(measure "$ours")"$'\n'
    p+="$(measure "$peer")"$'\n'
  done
  local ow oc om pw pc pm
  ow=$(col 1 <<<"${o%$'\n'}"); oc=$(col 2 <<<"${o%$'\n'}"); om=$(col 3 <<<"${o%$'\n'}")
  pw=$(col 1 <<<"${p%$'\n'}"); pc=$(col 2 <<<"${p%$'\n'}"); pm=$(col 3 <<<"${p%$'\n'}")
  awk -v n="$name" -v g="$goal" -v ow="$ow" -v pw="$pw" -v oc="$oc" -v pc="$pc" -v om="$om" \
      -v pm="$pm" 'BEGIN { printf "%-44s %8.2f %8.2f %6.2f %6.2f %7.1f %7.1f %6.2f  %s\n",
                             n, ow, pw, ow / pw, oc / pc, om, pm, om / pm, g }'
}

src=$media/src10
row "to-WAV suited vs ffmpeg pcm_s16le" "wall <= 1.0" \
  "$batch towav --yes --settings $out/suited.ini $src.mp3" \
  "ffmpeg -v error -y -i $src.mp3 -c:a pcm_s16le $out/peer/a.wav"
# ffmpeg cannot normalize per block: it gets a fixed gain instead.
row "to-WAV CD, normalize+fades vs ffmpeg afade+volume" "wall <= 1.0" \
  "$batch towav --yes --settings $out/cd.ini $src.mp3" \
  "ffmpeg -v error -y -i $src.mp3 -af afade=t=in:d=5,afade=t=out:st=595:d=5,volume=1.5dB -c:a pcm_s16le $out/peer/a.wav"
for preset in high:4 low:7; do
  name=${preset%:*} q=${preset#*:}
  row "to-MP3 128k $name (-q $q) vs lame" "wall <= 0.6" \
    "$batch tomp3 --yes --settings $out/$name.ini $src.wav" \
    "lame --quiet --noreplaygain -b 128 -q $q $src.wav $out/peer/a.mp3"
  row "to-MP3 128k $name (-q $q) vs ffmpeg libmp3lame" "wall <= 0.6" \
    "$batch tomp3 --yes --settings $out/$name.ini $src.wav" \
    "ffmpeg -v error -y -i $src.wav -c:a libmp3lame -b:a 128k -compression_level $q $out/peer/a.mp3"
done
row "normalize job vs ffmpeg decode+volume+libmp3lame" "wall <= 0.6" \
  "$batch normalize --yes --settings $out/nom.ini $src.mp3" \
  "ffmpeg -v error -y -i $src.mp3 -af volume=1.5dB -c:a libmp3lame -b:a 128k -compression_level 4 $out/peer/a.mp3"
row "200 x 3 s MP3 to WAV (batch vs ffmpeg loop)" "files/s" \
  "$batch towav --yes --settings $out/suited.ini $media/batch/*.mp3" \
  "for f in $media/batch/*.mp3; do ffmpeg -v error -y -i \$f -c:a pcm_s16le $out/peer/\$(basename \$f .mp3).wav; done"
row "30 min vs 10 min: to-MP3 high (ours/ours)" "mem <= 1.10" \
  "$batch tomp3 --yes --settings $out/high.ini $media/src30.wav" \
  "$batch tomp3 --yes --settings $out/high.ini $media/src10.wav"
row "30 min vs 10 min: to-WAV suited (ours/ours)" "mem <= 1.10" \
  "$batch towav --yes --settings $out/suited.ini $media/src30.mp3" \
  "$batch towav --yes --settings $out/suited.ini $media/src10.mp3"
echo "200-file batch, files/s: see its row: 200 / seconds. Median of $runs runs; $(nproc) cores; $(date -u '+%F %H:%M UTC')"
