// The files of a CD image on disk: the sheet read and laid out, and the sound read back
// frame by frame.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/framesound.h"
#include "platform/virtualcd/cuesheet.h"

// Reads the sheet at path and the files it names (relative to the sheet's folder), and
// fills the tracks and lead-out of disc. False with a reason naming the file at fault.
bool LoadCueImage(const std::string& path, DiscDescription* disc, DiscImage* image, std::string* error);

// The sound of an image: frames of 2352 bytes, 16-bit little-endian stereo, as the drive
// would send them to its audio output. Data tracks, gaps outside the files and frames a
// file does not hold read as silence.
class ImageSoundReader : public FrameSource {
public:
    explicit ImageSoundReader(DiscImage image);

    // count frames from the absolute frame into out (count * FrameBytes bytes). False when
    // a file could not be read; the frames it should have given are then silence.
    bool ReadFrames(std::int32_t frame, std::int32_t count, std::uint8_t* out);
    // The same as a sound's source: every frame asked for is there at once.
    std::int32_t Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) override;

private:
    DiscImage image_;
    std::vector<std::unique_ptr<std::ifstream>> streams_;
};
