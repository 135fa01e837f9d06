#include "platform/virtualcd/imagefiles.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/virtualcd/pathforms.h"

namespace {

constexpr std::size_t WaveHeadBytes = 64 * 1024;

bool ProbeFile(const CueFile& file, ImageFileFacts* facts, std::string* problem) {
    std::ifstream stream(file.name, std::ios::binary);
    if (!stream) return *problem = "cannot read " + file.name, false;
    stream.seekg(0, std::ios::end);
    const std::int64_t size = static_cast<std::int64_t>(stream.tellg());
    if (size < 0) return *problem = "cannot read " + file.name, false;
    if (!file.wave) {
        facts->dataOffset = 0;
        facts->dataBytes = size;
        return true;
    }
    stream.seekg(0);
    std::string head(static_cast<std::size_t>(std::min<std::int64_t>(size, WaveHeadBytes)), '\0');
    stream.read(&head[0], static_cast<std::streamsize>(head.size()));
    if (!ParseWaveHeader(head, size, facts, problem)) return *problem = file.name + ": " + *problem, false;
    return true;
}

} // namespace

bool LoadCueImage(const std::string& path, DiscDescription* disc, DiscImage* image, std::string* error) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return *error = "cannot read " + path, false;
    std::ostringstream text;
    text << stream.rdbuf();
    CueSheet sheet;
    if (!ParseCueSheet(text.str(), &sheet, error)) return *error = path + ": " + *error, false;
    for (CueFile& file : sheet.files)
        file.name = PathBeside(path, file.name);
    return LayOutImage(sheet, ProbeFile, disc, image, error);
}

ImageSoundReader::ImageSoundReader(DiscImage image) : image_(std::move(image)), streams_(image_.files.size()) {}

std::int32_t ImageSoundReader::Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) {
    ReadFrames(frame, count, out);
    return count;
}

bool ImageSoundReader::ReadFrames(std::int32_t frame, std::int32_t count, std::uint8_t* out) {
    std::memset(out, 0, static_cast<std::size_t>(count) * FrameBytes);
    bool whole = true;
    for (const ImageSegment& segment : image_.segments) {
        const std::int32_t from = std::max(frame, segment.startFrame);
        const std::int32_t to = std::min(frame + count, segment.startFrame + segment.frames);
        if (from >= to || segment.file < 0 || !segment.audio) continue;
        // Audio sectors are whole frames, so frame and byte counts run alike.
        const std::int64_t offset = static_cast<std::int64_t>(from - segment.startFrame) * FrameBytes;
        const std::int64_t wanted = std::min<std::int64_t>(static_cast<std::int64_t>(to - from) * FrameBytes,
                                                          segment.bytesInFile - offset);
        if (wanted <= 0) continue;
        auto& stream = streams_[static_cast<std::size_t>(segment.file)];
        if (!stream) stream.reset(new std::ifstream(image_.files[static_cast<std::size_t>(segment.file)].name,
                                                    std::ios::binary));
        std::uint8_t* target = out + static_cast<std::size_t>(from - frame) * FrameBytes;
        stream->clear();
        stream->seekg(segment.byteOffset + offset);
        stream->read(reinterpret_cast<char*>(target), static_cast<std::streamsize>(wanted));
        const std::streamsize got = stream->gcount();
        if (got < wanted) {
            std::memset(target + got, 0, static_cast<std::size_t>(wanted - got));
            whole = false;
        }
        if (image_.files[static_cast<std::size_t>(segment.file)].bigEndian)
            for (std::int64_t i = 0; i + 1 < wanted; i += 2) std::swap(target[i], target[i + 1]);
    }
    return whole;
}
