# Shared by the bench scripts: sourced, not run.

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

# median: the median of the numbers on stdin, one per line.
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# make_source SECONDS BASE: BASE.wav and BASE.mp3 (lame, 128 kbit/s) of a
# 44.1 kHz stereo tone over pink noise, so the codecs have real work; made once.
make_source() {
  local seconds=$1 base=$2
  [ -f "$base.mp3" ] && return
  ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
     -f lavfi -i "anoisesrc=d=$seconds:c=pink:r=44100:a=0.2" \
     -filter_complex "[0][1]amerge=inputs=2,volume=0.6" -c:a pcm_s16le "$base.wav"
  lame --quiet -b 128 "$base.wav" "$base.mp3"
}

# peak_kb CMD...: the peak resident memory of CMD in kB.
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
