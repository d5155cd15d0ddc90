#include "components/audio/mp3_reservoir.h"

#include "components/audio/output_file.h"

#include <algorithm>
#include <cstring>

namespace components {

using mp3frame::Frame;

bool EncodedRun::split(const std::uint8_t *p, std::size_t n)
{
    std::vector<std::uint8_t> payload;
    for (std::size_t at = 0; at < n;) {
        Frame f;
        if (!mp3frame::parse(p + at, n - at, &f))
            return false;
        const long long start = (long long)payload.size() - f.mainDataBegin;
        payload.insert(payload.end(), p + at + f.payloadOffset(), p + at + f.bytes);
        if (start < 0 || start + f.mainDataBytes() > (long long)payload.size())
            return false;
        mainOffsets.push_back(mainData.size());
        mainData.insert(mainData.end(), payload.begin() + start,
                        payload.begin() + start + f.mainDataBytes());
        offsets.push_back(bytes.size());
        bytes.insert(bytes.end(), p + at, p + at + f.bytes);
        frames.push_back(f);
        at += std::size_t(f.bytes);
    }
    return true;
}

namespace {
// Room behind the next frame once f is placed with `back` bytes behind it; -1
// when its main data does not fit.
int step(const Frame &f, int back)
{
    const int begin = std::min(back, f.maxBack);
    const int left = f.payloadBytes() + begin - f.mainDataBytes();
    return left < 0 ? -1 : left;
}

bool blocksAgree(const Frame &a, const Frame &b)
{
    return a.channels == b.channels && a.lastBlockType[0] == b.lastBlockType[0]
           && a.lastBlockType[1] == b.lastBlockType[1];
}

bool rightFits(const EncodedRun &right, long long join, int back, bool rightIsLast)
{
    for (long long j = join; j < right.end(); ++j) {
        const Frame &f = right.frame(j);
        if (std::min(back, f.maxBack) >= f.mainDataBegin)
            return true; // from here on as roomy as right's own stream
        back = step(f, back);
        if (back < 0)
            return false;
    }
    return rightIsLast;
}
} // namespace

int advanceRoom(const EncodedRun &run, long long from, long long to, int back)
{
    for (long long j = from; j < to && back >= 0; ++j)
        back = step(run.frame(j), back);
    return back;
}

long long chooseJoin(const EncodedRun &left, const EncodedRun &right, long long from, long long to,
                     int back, bool rightIsLast)
{
    to = std::min({to, left.end(), right.end()});
    long long join = std::max({from, left.first + 1, right.first + 1});
    back = advanceRoom(left, from, join, back);
    for (; join < to && back >= 0; ++join) {
        if (blocksAgree(left.frame(join - 1), right.frame(join - 1))
            && rightFits(right, join, back, rightIsLast))
            return join;
        back = step(left.frame(join), back);
    }
    return -1;
}

bool ReservoirWriter::add(const EncodedRun &run, long long index)
{
    const Frame &f = run.frame(index);
    const long long start = std::max(mainEnd_, nextPayload_ - f.maxBack);
    const int length = f.mainDataBytes();
    if (start + length > nextPayload_ + f.payloadBytes())
        return false;
    const std::uint8_t *src = run.bytes.data() + run.offsets[std::size_t(index - run.first)];
    Pending frame{std::vector<std::uint8_t>(std::size_t(f.bytes), 0), nextPayload_,
                  f.payloadOffset()};
    std::memcpy(frame.bytes.data(), src, std::size_t(f.payloadOffset()));
    mp3frame::setMainDataBegin(frame.bytes.data(), f, int(nextPayload_ - start));
    pending_.push_back(std::move(frame));
    nextPayload_ += f.payloadBytes();
    place(run.mainData.data() + run.mainOffsets[std::size_t(index - run.first)], length, start);
    mainEnd_ = start + length;
    return writeReady(false);
}

void ReservoirWriter::place(const std::uint8_t *data, int n, long long at)
{
    for (Pending &p : pending_) {
        const long long end = p.payloadStart + (long long)p.bytes.size() - p.payloadOffset;
        const long long from = std::max(at, p.payloadStart);
        const long long to = std::min(at + n, end);
        if (from < to)
            std::memcpy(p.bytes.data() + p.payloadOffset + (from - p.payloadStart),
                        data + (from - at), std::size_t(to - from));
    }
}

bool ReservoirWriter::writeReady(bool all)
{
    while (!pending_.empty()) {
        const Pending &p = pending_.front();
        const long long end = p.payloadStart + (long long)p.bytes.size() - p.payloadOffset;
        if (!all && end > mainEnd_)
            break;
        crc_ = mp3frame::crc16(p.bytes.data(), p.bytes.size(), crc_);
        ++frames_;
        if (!out_.append(p.bytes.data(), p.bytes.size()))
            return false;
        pending_.pop_front();
    }
    return true;
}

bool ReservoirWriter::finish()
{
    return writeReady(true);
}

} // namespace components
