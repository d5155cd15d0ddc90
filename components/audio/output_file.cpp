#include "components/audio/output_file.h"

#include <QFileInfo>

namespace components {

namespace {
constexpr std::size_t BufferBytes = 1 << 20;
}

OutputFile::OutputFile(const QString &path) : file_(path) {}

bool OutputFile::open()
{
    if (QFileInfo(file_.fileName()).isDir())
        return false;
    buffer_.reserve(BufferBytes);
    return file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool OutputFile::append(const void *data, std::size_t bytes)
{
    if (failed_)
        return false;
    if (buffer_.size() + bytes > BufferBytes && !flush())
        return false;
    if (bytes > BufferBytes) {
        failed_ = file_.write(static_cast<const char *>(data), qint64(bytes)) != qint64(bytes);
    } else {
        const char *p = static_cast<const char *>(data);
        buffer_.insert(buffer_.end(), p, p + bytes);
    }
    size_ += qint64(bytes);
    return !failed_;
}

bool OutputFile::overwrite(qint64 offset, const void *data, std::size_t bytes)
{
    if (!flush() || offset + qint64(bytes) > size_)
        return false;
    failed_ = !file_.seek(offset)
              || file_.write(static_cast<const char *>(data), qint64(bytes)) != qint64(bytes)
              || !file_.seek(size_);
    return !failed_;
}

bool OutputFile::flush()
{
    if (!failed_ && !buffer_.empty())
        failed_ = file_.write(buffer_.data(), qint64(buffer_.size())) != qint64(buffer_.size());
    buffer_.clear();
    return !failed_;
}

bool OutputFile::commit()
{
    if (!flush())
        file_.cancelWriting(); // commit() then drops the temporary file
    return file_.commit();
}

} // namespace components
