#pragma once
// Independent checks of converted files with the ffprobe and ffmpeg tools.
#include <QString>
#include <map>
#include <vector>

// Stream and format fields of the first audio stream ("sample_rate",
// "channels", "codec_name", "bits_per_sample", "duration", "TAG:title").
std::map<QString, QString> probe(const QString &path);
double probedSeconds(const QString &path);
// One channel as 16-bit samples, decoded by ffmpeg.
std::vector<short> decodeChannel(const QString &path, int channel = 0);
// Peak of |sample| over [from, from + count) as a fraction of full scale.
double peak(const std::vector<short> &samples, size_t from, size_t count);
// Makes a sine WAV of that length and rate with ffmpeg.
bool makeSine(const QString &path, int seconds, int rate = 44100);
