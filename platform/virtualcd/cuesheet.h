// CD images: a CUE sheet and the BIN or WAV files it names, laid out as the disc they
// were ripped from. Sheets and images come from anywhere: everything is checked.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/virtualcd/discdescription.h"

// One frame of CD audio: 588 stereo samples of 16 bits, 75 a second.
constexpr std::int32_t FrameBytes = 2352;

struct CueFile {
    std::string name;     // as the sheet writes it
    bool wave = false;    // WAVE: a RIFF file of 44.1 kHz 16-bit stereo PCM; else raw sectors
    bool bigEndian = false; // MOTOROLA: raw audio sectors with the bytes of each sample swapped
};

struct CueTrack {
    int number = 0;
    bool audio = true;
    std::int32_t sectorBytes = FrameBytes; // how many bytes one frame takes in its file
    std::size_t file = 0;                  // into CueSheet::files: the file of index 1
    std::size_t index0File = 0;            // the file of index 0: the one before, when gaps
                                           // are appended to the track before
    std::int32_t index0 = -1;              // frame in its file where index 0 starts, or -1
    std::int32_t index1 = -1;              // frame in its file where index 1 starts
    std::int32_t pregap = 0;               // PREGAP: silence before the track, not in the file
    std::int32_t postgap = 0;              // POSTGAP: silence after it
    std::string title;                     // TITLE and PERFORMER after the TRACK line, as
    std::string performer;                 // the sheet writes them (UTF-8, or Latin-1)
};

struct CueSheet {
    std::vector<CueFile> files;
    std::vector<CueTrack> tracks;
    std::string title;      // TITLE and PERFORMER before the first TRACK: the album's
    std::string performer;
    std::string cdTextFile; // CDTEXTFILE: a file of the disc's CD-Text packs, as named
    std::int32_t lastPosition = -1; // while parsing: the latest index in the current file
};

// False with a reason ("line 4: ...") for a sheet that does not describe a disc: no
// tracks, track numbers not counting up from 1, a track without INDEX 01, indexes going
// back, a mode or file type the drive cannot hold.
bool ParseCueSheet(const std::string& text, CueSheet* sheet, std::string* error);

// Where a file's frames lie in it: WAV data starts past the header.
struct ImageFileFacts {
    std::int64_t dataOffset = 0;
    std::int64_t dataBytes = 0;
};

// The facts of one file the sheet names; false with a reason when it cannot be used.
using ImageFileProbe = std::function<bool(const CueFile& file, ImageFileFacts* facts, std::string* problem)>;

// A stretch of the disc and where its frames come from.
struct ImageSegment {
    std::int32_t startFrame = 0; // absolute disc frame
    std::int32_t frames = 0;
    int file = -1;               // into DiscImage::files; -1: silence not in any file
    std::int64_t byteOffset = 0; // of startFrame's frame in that file
    std::int64_t bytesInFile = 0; // from byteOffset on; frames past them are silence
    bool audio = true;
};

struct DiscImage {
    std::vector<CueFile> files;
    std::vector<ImageSegment> segments; // in disc order, without gaps
};

// The disc of a sheet: a track starts at INDEX 01, its pregap from INDEX 00 and PREGAP,
// the first track's audio 150 frames (the two-second lead-in) from the disc's start, the
// lead-out one frame past the image's last frame. Fills the tracks and lead-out of disc
// and the segments of image.
bool LayOutImage(const CueSheet& sheet, const ImageFileProbe& probe, DiscDescription* disc, DiscImage* image,
                 std::string* error);

// Finds the samples in a WAV file from its first bytes (a header up to 64 KiB is read)
// and its size: 44.1 kHz, 16 bits, 2 channels, PCM only.
bool ParseWaveHeader(const std::string& head, std::int64_t fileSize, ImageFileFacts* facts, std::string* problem);
