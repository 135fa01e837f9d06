// CD images: a CUE sheet and the files it names come from anywhere. The input is the
// sheet's text, a NUL, then the bytes every file of the sheet holds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/virtualcd/cuesheet.h"
#include "platform/virtualcd/imagefiles.h"

namespace {

const std::string& ImagePath() {
    static const std::string path = "/tmp/cuesheet_fuzz_" + std::to_string(getpid()) + ".img";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string text = input.substr(0, split);
    const std::string bytes = split == std::string::npos ? std::string() : input.substr(split + 1);

    CueSheet sheet;
    std::string error;
    if (!ParseCueSheet(text, &sheet, &error)) return 0;
    // Every file the sheet names holds the same bytes, probed as the drive probes them.
    const ImageFileProbe probe = [&bytes](const CueFile& file, ImageFileFacts* facts, std::string* problem) {
        if (!file.wave) {
            facts->dataOffset = 0;
            facts->dataBytes = static_cast<std::int64_t>(bytes.size());
            return true;
        }
        return ParseWaveHeader(bytes.substr(0, 64 * 1024), static_cast<std::int64_t>(bytes.size()), facts, problem);
    };
    DiscDescription disc;
    DiscImage image;
    if (!LayOutImage(sheet, probe, &disc, &image, &error)) return 0;
    MediaIdentityText(disc);
    for (std::size_t i = 0; i < disc.tracks.size(); ++i) ReportedLengthFrames(disc, i);

    // The sound at both ends of every stretch, read back from a file of those bytes.
    std::ofstream(ImagePath(), std::ios::binary | std::ios::trunc) << bytes;
    for (CueFile& file : image.files) file.name = ImagePath();
    ImageSoundReader reader(image);
    std::vector<std::uint8_t> frames(3 * FrameBytes);
    for (const ImageSegment& segment : image.segments) {
        reader.ReadFrames(segment.startFrame - 1, 2, frames.data());
        reader.ReadFrames(segment.startFrame + segment.frames - 2, 3, frames.data());
    }
    return 0;
}
