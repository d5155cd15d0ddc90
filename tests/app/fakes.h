#pragma once
#include "app/filechooser.h"
#include "app/jobworkers.h"
#include "app/mainform.h"
#include "app/messageboxes.h"
#include "components/audio/iaudiofile.h"
#include "components/skin/iskin.h"

#include <QMap>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <atomic>
#include <deque>
#include <functional>
#include <vector>

// A reader that knows its sources by path: valid ones with their format.
class FakeAudioFile : public components::IAudioFile {
public:
    struct Format {
        int frequency;
        int channels;
    };
    QMap<QString, Format> sources;
    QStringList calls; // "OpenFile <path>", "CloseFile"
    bool wmaEnabled = false;

    void OpenFile(const QString &fileName, int, int) override
    {
        calls << QStringLiteral("OpenFile ") + fileName;
        open_ = sources.contains(fileName) ? fileName : QString();
    }
    void CloseFile() override
    {
        QMutexLocker lock(&mutex_);
        calls << QStringLiteral("CloseFile");
    }
    int ErrorCode() override { return open_.isEmpty() ? 1 : 0; }
    int Frequency() override { return sources.value(open_).frequency; }
    int Channels() override { return sources.value(open_).channels; }
    bool WmaFormatEnabled() override { return wmaEnabled; }
    void SetWmaFormatEnabled(bool enabled) override { wmaEnabled = enabled; }
    int closeCount()
    {
        QMutexLocker lock(&mutex_);
        return int(calls.count(QStringLiteral("CloseFile")));
    }

    void CreateFile(const QString &, int) override {}
    void WriteBlock(components::SampleBlock &) override {}
    components::SampleBlock ReadBlock(int) override { return {}; }
    int ConfigureReader(int, int) override { return 0; }
    int SetWaveFormat(int, int, int) override { return 0; }
    void SetInputFormat(int, int) override {}
    components::IAudioFileMp3Encoder *GetMp3Encoder() override { return nullptr; }
    bool IsMp3FormatSupported(int, int, int) override { return true; }
    int Length() override { return 0; }
    int Duration() override { return 0; }
    int OutChannels() override { return Channels(); }
    int OutFrequency() override { return Frequency(); }

private:
    QString open_;
    QMutex mutex_;
};

class NoTransform : public components::IAudioTransform {
public:
    void FadeBlock(components::SampleBlock &, float, float) override {}
    void NormalizeBlock(components::SampleBlock &, float, int) override {}
};

class NoInformation : public components::IAudioInformation {
public:
    void ReadTags(const QString &) override {}
    void WriteTags(const QString &) override {}
};

// Visibility calls on skin objects, in order: "name shown" / "name hidden".
using VisibilityLog = QStringList;

class FakeSkinObject : public components::ISkinObject {
public:
    FakeSkinObject(QString name, VisibilityLog *log) : name_(std::move(name)), log_(log) {}
    QString Name() override { return name_; }
    void Visible(short visible) override
    {
        if (log_)
            *log_ << name_ + (visible == -1 ? QStringLiteral(" shown") : QStringLiteral(" hidden"));
    }

private:
    QString name_;
    VisibilityLog *log_;
};

// A skin engine whose files all hold the form, unless named in invalidFiles.
class FakeSkin : public components::ISkin, public components::ISkinWindowObject {
public:
    QStringList calls; // "Remove", "Load <file>", "Apply <form>"
    QSet<QString> invalidFiles;
    QSet<QString> missingObjects;
    VisibilityLog visibility;

    void LoadSkin(const QString &fileName) override
    {
        calls << QStringLiteral("Load ") + fileName;
        loaded_ = fileName;
    }
    void ApplySkin(QWidget *, const QString &formName) override
    {
        calls << QStringLiteral("Apply ") + formName;
        applied_ = formName == QStringLiteral("za3dividizuv") && !invalidFiles.contains(loaded_);
    }
    void RemoveSkin(QWidget *) override
    {
        calls << QStringLiteral("Remove");
        applied_ = false;
    }
    std::shared_ptr<components::ISkinWindowObject> GetSkinObject(QWidget *) override
    {
        return applied_ ? std::shared_ptr<components::ISkinWindowObject>(std::shared_ptr<void>(), this) : nullptr;
    }
    std::shared_ptr<components::ISkinObject> FindObject(const QString &name) override
    {
        if (missingObjects.contains(name))
            return nullptr;
        return std::make_shared<FakeSkinObject>(name, &visibility);
    }
    void setOnClick(ClickHandler handler) override { onClick_ = std::move(handler); }

    void click(const QString &name)
    {
        FakeSkinObject source(name, nullptr);
        onClick_(source);
    }

private:
    QString loaded_;
    bool applied_ = false;
    ClickHandler onClick_;
};

// Answers boxes from a script; an unscripted question gets No.
class ScriptedBoxes : public IMessageBoxes {
public:
    struct Box {
        QString text;
        QString caption;
        Icon icon;
        bool question;
        QThread *thread; // where it was shown
    };
    std::vector<Box> shown;
    std::deque<bool> answers;

    void message(const QString &text, const QString &caption, Icon icon) override
    {
        shown.push_back({text, caption, icon, false, QThread::currentThread()});
    }
    bool question(const QString &text, const QString &caption, Icon icon) override
    {
        shown.push_back({text, caption, icon, true, QThread::currentThread()});
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Chooses the next scripted list of files; none left means cancel.
class ChosenFiles : public IFileChooser {
public:
    std::deque<QStringList> choices;
    QStringList filters; // as each dialog was given it

    QStringList chooseFiles(QWidget *, const QString &filter) override
    {
        filters << filter;
        if (choices.empty())
            return {};
        QStringList files = choices.front();
        choices.pop_front();
        return files;
    }
    QString chooseFile(QWidget *parent, const QString &filter) override
    {
        const QStringList files = chooseFiles(parent, filter);
        return files.isEmpty() ? QString() : files.first();
    }
};

// A worker that runs a script against its host, then waits for a stop
// request or a release.
class FakeWorker : public QThread {
public:
    FakeWorker(int kind, const JobContext &context) : kind(kind), context(context) {}
    const int kind;
    const JobContext context;
    std::function<void(FakeWorker &)> script;
    std::function<void(FakeWorker &)> afterStop;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> released{false};

protected:
    void run() override
    {
        if (script)
            script(*this);
        while (!stopRequested && !released)
            msleep(1);
        if (stopRequested && afterStop)
            afterStop(*this);
    }
};

class FakeWorkers : public IJobWorkers {
public:
    struct Created {
        int kind;
        QPointer<QThread> worker;
        bool previousEnded; // the worker made before it had ended by then
        QStringList rows;   // as the host gave them
    };
    std::vector<Created> created;
    std::function<void(FakeWorker &)> script;
    std::function<void(FakeWorker &)> afterStop;
    bool releaseAtOnce = false;

    QThread *create(int jobKind, const JobContext &context) override
    {
        auto *worker = new FakeWorker(jobKind, context);
        worker->script = script;
        worker->afterStop = afterStop;
        worker->released = releaseAtOnce;
        QStringList rows;
        for (int i = 0; i < context.host->rowCount(); ++i)
            rows << context.host->rowSourcePath(i);
        const bool previousEnded = created.empty() || !created.back().worker ||
                                   created.back().worker->isFinished();
        created.push_back({jobKind, worker, previousEnded, rows});
        return worker;
    }
    void requestStop(QThread *worker) override { static_cast<FakeWorker *>(worker)->stopRequested = true; }
};
