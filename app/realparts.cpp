#include "app/mainform.h"

#include "components/audio/factory.h"
#include "engine/globals.h"
#include "engine/threadmp3normalize.h"
#include "engine/threadmp3towav.h"
#include "engine/threadwavtomp3.h"

namespace {

class JobWorkers : public IJobWorkers {
public:
    QThread *create(int jobKind, const JobContext &context) override
    {
        switch (jobKind) {
        case JobNormalize: return new TThreadMP3Normalize(context);
        case JobToWav: return new TThreadMp3toWav(context);
        default: return new TThreadWavtoMp3(context);
        }
    }
    void requestStop(QThread *worker) override { static_cast<JobWorker *>(worker)->requestStop(); }
};

} // namespace

MainParts realMainParts()
{
    MainParts parts;
    parts.audioFileRead = components::createAudioFile();
    parts.audioFileWrite = components::createAudioFile();
    parts.audioTransform = components::createAudioTransform();
    parts.audioInformation = components::createAudioInformation();
    parts.skin = components::createSkinEngine();
    parts.messages = std::make_unique<QtMessageBoxes>();
    parts.files = std::make_unique<QtFileChooser>();
    parts.workers = std::make_unique<JobWorkers>();
    return parts;
}
