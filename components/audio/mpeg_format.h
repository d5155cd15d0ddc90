#pragma once

// What an MPEG audio layer III stream can carry: sample rates, bit rates per
// MPEG version, and the mapping of our quality scale onto LAME's.
namespace components::mpeg {

bool isMpegRate(int hz);
// The MPEG rate closest to hz (hz > 0).
int nearestRate(int hz);
// True when kbps is a layer III bit rate of rate's MPEG version; with rate 0
// (not known yet) any version counts.
bool isLegalBitrate(int kbps, int rate);
// The legal bit rate nearest to kbps for rate (0: any version); the lower one
// on a tie; 0 stays 0 (the encoder's choice).
int snapBitrate(int kbps, int rate);
// Our quality 0 (fastest) .. 9 (best) as LAME's -q 7 .. -q 4.
int lameQuality(int quality);

} // namespace components::mpeg
