#include "platform/mixer.h"

// The build's own mixer: winmm on Windows, a system without mixers elsewhere.
MixerApi& DefaultMixerApi();

namespace {
MixerApi* installedMixerApi = nullptr; // the user-interface thread alone uses the mixer
}

void InstallMixerApi(MixerApi* api) { installedMixerApi = api; }

MixerApi& Mixers() { return installedMixerApi ? *installedMixerApi : DefaultMixerApi(); }
