// The wave output through waveOut: two blocks in turn, the device signalling an event as
// each one finishes.
#include "platform/soundoutput.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <vector>

#include "platform/win32/widetext.h"

namespace {

class WaveOutput : public SoundOutput {
public:
    WaveOutput(HWAVEOUT device, HANDLE event) : device_(device), event_(event) {
        for (Block& block : blocks_) {
            block.bytes.resize(SoundBlockBytes);
            block.header.lpData = reinterpret_cast<LPSTR>(block.bytes.data());
            block.header.dwBufferLength = static_cast<DWORD>(SoundBlockBytes);
            waveOutPrepareHeader(device_, &block.header, sizeof block.header);
        }
    }
    ~WaveOutput() override {
        waveOutReset(device_);
        for (Block& block : blocks_) waveOutUnprepareHeader(device_, &block.header, sizeof block.header);
        waveOutClose(device_);
        CloseHandle(event_);
    }

    bool BlockFree() override {
        for (Block& block : blocks_)
            if (!Busy(block)) return true;
        return false;
    }
    bool Idle() override {
        for (Block& block : blocks_)
            if (Busy(block)) return false;
        return true;
    }
    void Queue(const std::uint8_t* bytes, std::size_t size) override {
        for (Block& block : blocks_) {
            if (Busy(block)) continue;
            std::memcpy(block.bytes.data(), bytes, size);
            block.header.dwBufferLength = static_cast<DWORD>(size);
            block.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            block.queued = waveOutWrite(device_, &block.header, sizeof block.header) == MMSYSERR_NOERROR;
            return;
        }
    }
    void Pause() override {
        waveOutPause(device_);
        paused_ = true;
    }
    void Resume() override {
        waveOutRestart(device_);
        paused_ = false;
    }
    void Reset() override {
        waveOutReset(device_); // every block comes back done
        // Only a paused device needs starting again: a restart with nothing queued would
        // start the stream running dry, which Wine fills with silence.
        if (paused_) waveOutRestart(device_);
        paused_ = false;
        for (Block& block : blocks_) block.queued = false;
        base_ = Position();
    }
    std::uint64_t PlayedBytes() override {
        const std::uint64_t now = Position();
        return now > base_ ? now - base_ : 0;
    }
    void WaitForBlock(int ms) override { WaitForSingleObject(event_, static_cast<DWORD>(ms)); }
    void Wake() override { SetEvent(event_); }

private:
    struct Block {
        std::vector<std::uint8_t> bytes;
        WAVEHDR header{};
        bool queued = false;
    };
    bool Busy(Block& block) {
        if (block.queued && (block.header.dwFlags & WHDR_DONE)) block.queued = false;
        return block.queued;
    }
    std::uint64_t Position() {
        MMTIME time{};
        time.wType = TIME_BYTES;
        if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return base_;
        if (time.wType == TIME_SAMPLES) return static_cast<std::uint64_t>(time.u.sample) * 4;
        return time.wType == TIME_BYTES ? time.u.cb : base_;
    }

    HWAVEOUT device_;
    HANDLE event_;
    Block blocks_[2];
    std::uint64_t base_ = 0;
    bool paused_ = false;
};

} // namespace

std::unique_ptr<SoundOutput> OpenSoundOutput(MillisecondClock, std::string* problem) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = SoundBytesPerSecond;
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!event) return *problem = "no event for the wave device", nullptr;
    HWAVEOUT device = nullptr;
    const MMRESULT result = waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(event), 0,
                                        CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        wchar_t text[MAXERRORLENGTH] = L"";
        waveOutGetErrorTextW(result, text, MAXERRORLENGTH);
        *problem = text[0] ? WideToUtf8(text) : "waveOutOpen failed with " + std::to_string(result);
        CloseHandle(event);
        return nullptr;
    }
    return std::make_unique<WaveOutput>(device, event);
}
