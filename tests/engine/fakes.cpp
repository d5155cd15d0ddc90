#include "fakes.h"

#include <QFile>
#include <algorithm>
#include <stdexcept>

void CallLog::add(const QString &line)
{
    std::lock_guard<std::mutex> guard(lock);
    entries.push_back(line.toStdString());
}

std::vector<std::string> CallLog::lines() const
{
    std::lock_guard<std::mutex> guard(lock);
    return entries;
}

std::vector<std::string> CallLog::with(const std::string &prefix) const
{
    std::vector<std::string> out;
    for (const std::string &line : lines())
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line.substr(prefix.size()));
    return out;
}

bool CallLog::contains(const std::string &line) const
{
    const auto all = lines();
    return std::find(all.begin(), all.end(), line) != all.end();
}

void RecordingHost::addRow(const QString &path)
{
    paths.push_back(path);
    states.push_back(QStringLiteral("unconvert"));
}

void RecordingHost::setRowState(int row, const QString &state)
{
    states.at(size_t(row)) = state;
    log_.add(QStringLiteral("state %1 %2").arg(row).arg(state));
    if (onState)
        onState(row, state);
}

void RecordingHost::setProgress(int percent)
{
    log_.add(QStringLiteral("progress %1").arg(percent));
    if (onProgress)
        onProgress(percent);
}

void RecordingHost::resetOverlays(const QStringList &names, const std::vector<OverlayCall> &calls)
{
    QString line = QStringLiteral("overlays ") + names.join(QLatin1Char(',')) + QStringLiteral(" :");
    for (const OverlayCall &call : calls)
        line += QStringLiteral(" %1=%2").arg(call.name).arg(call.visible ? 1 : 0);
    log_.add(line);
}

void RecordingHost::showMessage(const QString &text, const QString &title)
{
    log_.add(QStringLiteral("message %1|%2").arg(title, text));
}

bool RecordingHost::askYesNo(const QString &text, const QString &title)
{
    log_.add(QStringLiteral("ask %1|%2").arg(title, text));
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingHost::processMessages()
{
    log_.add(QStringLiteral("process"));
}

void RecordingHost::launch(const QString &commandLine, int showCode)
{
    log_.add(QStringLiteral("launch %1 %2").arg(commandLine).arg(showCode));
}

void FakeEncoder::SetEncoderQuality(int q)
{
    quality = q;
    log_.add(QStringLiteral("encoder quality %1").arg(q));
}

void FakeEncoder::SetEncoderFlag(bool flag)
{
    log_.add(QStringLiteral("encoder flag %1").arg(flag ? 1 : 0));
}

void FakeEncoder::SetEncoderSampleRate(int v)
{
    sampleRate = v;
    log_.add(QStringLiteral("encoder samplerate %1").arg(v));
}

void FakeEncoder::SetEncoderMode(int v)
{
    mode = v;
    log_.add(QStringLiteral("encoder mode %1").arg(v));
}

void FakeEncoder::SetEncoderBitrate(int v)
{
    bitrate = v;
    log_.add(QStringLiteral("encoder bitrate %1").arg(v));
}

void FakeAudioFile::OpenFile(const QString &fileName, int, int)
{
    log_.add(QStringLiteral("%1 open %2").arg(role_, fileName));
    const auto it = sources.find(fileName);
    current_ = it == sources.end() ? SourceScript{} : it->second;
    error_ = it == sources.end() || current_.openFails ? 1 : 0;
    closed = error_ != 0;
    blockIndex_ = 0;
    delivered_ = 0;
}

void FakeAudioFile::CloseFile()
{
    log_.add(role_ + QStringLiteral(" close"));
    error_ = closeFails && !closed ? 1 : 0;
    closed = true;
}

void FakeAudioFile::CreateFile(const QString &fileName, int)
{
    log_.add(QStringLiteral("%1 create %2").arg(role_, fileName));
    error_ = createFails ? 1 : 0;
    written_ = 0;
    if (createFails)
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        error_ = 1;
    file.write("new output");
    closed = false;
}

void FakeAudioFile::WriteBlock(components::SampleBlock &block)
{
    log_.add(QStringLiteral("%1 write %2").arg(role_).arg(block.elementCount()));
    error_ = writeErrors.count(written_++) || closed ? 1 : 0;
}

components::SampleBlock FakeAudioFile::ReadBlock(int frames)
{
    log_.add(QStringLiteral("%1 read %2").arg(role_).arg(frames));
    const int index = blockIndex_++;
    if (index == current_.throwOnRead)
        throw std::runtime_error("component failure");
    components::SampleBlock block;
    block.channels = current_.outChannels;
    int elements = 0;
    if (!closed) {
        if (size_t(index) < current_.elementCounts.size())
            elements = current_.elementCounts[size_t(index)];
        else
            elements = std::max(0, std::min(frames, current_.length - delivered_)) * current_.channels;
    }
    delivered_ += elements / std::max(1, current_.channels);
    block.samples.assign(size_t(elements), 0.5f);
    error_ = closed || current_.readErrors.count(index) ? 1 : 0;
    return block;
}

int FakeAudioFile::ConfigureReader(int a, int b)
{
    log_.add(QStringLiteral("%1 configure %2 %3").arg(role_).arg(a).arg(b));
    return 0;
}

int FakeAudioFile::SetWaveFormat(int sampleRate, int channels, int bits)
{
    log_.add(QStringLiteral("%1 waveformat %2 %3 %4").arg(role_).arg(sampleRate).arg(channels).arg(bits));
    return 0;
}

void FakeAudioFile::SetInputFormat(int sampleRate, int channels)
{
    log_.add(QStringLiteral("%1 inputformat %2 %3").arg(role_).arg(sampleRate).arg(channels));
}

bool FakeAudioFile::IsMp3FormatSupported(int sampleRate, int bitrate, int mode)
{
    log_.add(QStringLiteral("%1 supported %2 %3 %4").arg(role_).arg(sampleRate).arg(bitrate).arg(mode));
    return formatSupported;
}

void RecordingTransform::FadeBlock(components::SampleBlock &block, float from, float to)
{
    log_.add(QStringLiteral("fade %1 %2 %3").arg(block.elementCount()).arg(double(from)).arg(double(to)));
}

void RecordingTransform::NormalizeBlock(components::SampleBlock &block, float percent, int mode)
{
    log_.add(QStringLiteral("normalize %1 %2 %3").arg(block.elementCount()).arg(double(percent)).arg(mode));
}

void RecordingInformation::ReadTags(const QString &fileName)
{
    log_.add(QStringLiteral("readtags ") + fileName);
}

void RecordingInformation::WriteTags(const QString &fileName)
{
    log_.add(QStringLiteral("writetags ") + fileName);
}
