#pragma once
#include <QSaveFile>
#include <QString>

#include <cstddef>
#include <vector>

namespace components {

// An output written beside its final path and moved over it only by commit(),
// so an existing file is never half overwritten and a crash leaves no torn
// file. Writes are buffered; any failure sticks. Dropped uncommitted, the
// temporary file is removed.
class OutputFile {
public:
    explicit OutputFile(const QString &path);
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // False when the folder is missing, not writable, or the path is a folder.
    bool open();
    bool append(const void *data, std::size_t bytes);
    // Replaces bytes already written (a header finished at the end).
    bool overwrite(qint64 offset, const void *data, std::size_t bytes);
    qint64 size() const { return size_; }
    // Stores the file under its final path; false (and nothing replaced) when
    // any write failed.
    bool commit();

private:
    bool flush();

    QSaveFile file_;
    std::vector<char> buffer_;
    qint64 size_ = 0;
    bool failed_ = false;
};

} // namespace components
