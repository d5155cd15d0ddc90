#include "engine/overlays.h"

#include "engine/globals.h"

#include <array>

namespace {

// Positions of the four references.
enum Slot { Norm = 0, Wav = 1, Mp3 = 2, Stop = 3 };

QStringList namesOf(int kind)
{
    const auto pick = [kind](int own, const char *button) {
        return QString::fromLatin1(button) + (kind == own ? QStringLiteral("_click") : QStringLiteral("_disable"));
    };
    return {pick(JobNormalize, "normalize"), pick(JobToWav, "towav"), pick(JobToMp3, "tomp3"),
            QStringLiteral("stop_disable")};
}

struct Step {
    Slot slot;
    bool visible;
};

OverlayState build(int kind, const std::array<Step, 4> &steps)
{
    OverlayState state{namesOf(kind), {}};
    for (const Step &s : steps)
        state.calls.push_back({state.names[s.slot], s.visible});
    return state;
}

} // namespace

OverlayState jobStartOverlays(int kind)
{
    switch (kind) {
    case JobNormalize: return build(kind, {{{Stop, false}, {Norm, true}, {Wav, true}, {Mp3, true}}});
    case JobToWav: return build(kind, {{{Stop, false}, {Wav, true}, {Mp3, true}, {Norm, true}}});
    default: return build(kind, {{{Stop, false}, {Mp3, true}, {Norm, true}, {Wav, true}}});
    }
}

OverlayState jobEndOverlays(int kind)
{
    switch (kind) {
    case JobNormalize: return build(kind, {{{Norm, false}, {Stop, true}, {Mp3, false}, {Wav, false}}});
    case JobToWav: return build(kind, {{{Wav, false}, {Stop, true}, {Norm, false}, {Mp3, false}}});
    default: return build(kind, {{{Mp3, false}, {Stop, true}, {Wav, false}, {Norm, false}}});
    }
}

OverlayState skinRestoreOverlays(int kind)
{
    switch (kind) {
    case JobNormalize: return build(kind, {{{Norm, true}, {Stop, false}, {Wav, true}, {Mp3, true}}});
    case JobToWav: return build(kind, {{{Wav, true}, {Stop, false}, {Mp3, true}, {Norm, true}}});
    default: return build(kind, {{{Mp3, true}, {Stop, false}, {Norm, true}, {Wav, true}}});
    }
}
