// The CD audio driver seam over the real Windows MCI CD audio device.
#pragma once

#include <memory>

#include "platform/cdaudiodriver.h"

std::unique_ptr<CdAudioDriver> CreateMciCdAudioDriver();
