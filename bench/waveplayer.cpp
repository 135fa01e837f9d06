// The least a program can do to play CD audio through waveOut: two blocks in turn, the
// device signalling an event as each one finishes, refilled straight from memory. The
// image benchmark measures it beside tunova.exe as the floor of playing.
//   tunova_waveplayer.exe FILE SECONDS    plays FILE's 44.1 kHz 16-bit stereo samples
//                                         (a BIN of audio sectors) from its start for
//                                         SECONDS, looping at its end
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// As the player's own blocks: 40 frames of 2352 bytes, about half a second.
constexpr DWORD BlockBytes = 40 * 2352;

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tunova_waveplayer FILE SECONDS\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<char> sound((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (sound.size() < BlockBytes) {
        std::fprintf(stderr, "waveplayer: no sound to play\n");
        return 1;
    }
    const DWORD endAt = GetTickCount() + static_cast<DWORD>(std::atof(argv[2]) * 1000);

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        std::fprintf(stderr, "waveplayer: no wave device\n");
        return 1;
    }
    std::vector<char> blocks[2] = {std::vector<char>(BlockBytes), std::vector<char>(BlockBytes)};
    WAVEHDR headers[2]{};
    std::size_t next = 0;
    auto fill = [&](int i) {
        if (next + BlockBytes > sound.size()) next = 0;
        std::memcpy(blocks[i].data(), sound.data() + next, BlockBytes);
        next += BlockBytes;
        waveOutWrite(device, &headers[i], sizeof headers[i]);
    };
    for (int i = 0; i < 2; ++i) {
        headers[i].lpData = blocks[i].data();
        headers[i].dwBufferLength = BlockBytes;
        waveOutPrepareHeader(device, &headers[i], sizeof headers[i]);
        fill(i);
    }
    while (static_cast<LONG>(endAt - GetTickCount()) > 0) {
        WaitForSingleObject(event, 1000);
        for (int i = 0; i < 2; ++i)
            if (headers[i].dwFlags & WHDR_DONE) {
                headers[i].dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
                fill(i);
            }
    }
    waveOutReset(device);
    for (WAVEHDR& header : headers) waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    CloseHandle(event);
    return 0;
}
