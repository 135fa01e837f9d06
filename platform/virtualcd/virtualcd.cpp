#include "platform/virtualcd/virtualcd.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/virtualcd/imagefiles.h"
#include "platform/virtualcd/pathforms.h"
#include "platform/virtualcd/virtualcddriver.h"

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> DescriptionPaths() {
    std::vector<std::string> paths;
    std::stringstream list(Environment("TUNOVA_VIRTUAL_CD"));
    std::string path;
    while (std::getline(list, path, ';')) {
        const std::size_t first = path.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        path = path.substr(first, path.find_last_not_of(" \t") - first + 1);
        paths.push_back(LocalFormOfPath(path));
    }
    return paths;
}

bool EndsWithCue(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".cue";
}

// An image named by the description: its sheet, relative to the description's folder.
void LoadImage(VirtualDriveSource* source, const std::string& descriptionPath) {
    source->namesImage = true;
    const std::string sheet = PathBeside(descriptionPath, source->disc.image);
    auto image = std::make_shared<DiscImage>();
    if (LoadCueImage(sheet, &source->disc, image.get(), &source->problem)) {
        source->image = std::move(image);
        return;
    }
    // The drive is there but holds nothing it can play: it reports no disc.
    source->disc.tracks.clear();
    source->disc.leadOut = 0;
    source->disc.noDisc = true;
}

VirtualDriveSource SourceFromText(const std::string& text, const std::string& path) {
    VirtualDriveSource source;
    source.path = path;
    source.valid = ParseDiscDescription(text, &source.disc, &source.problem);
    if (source.valid && !source.disc.image.empty()) LoadImage(&source, path);
    if (!source.valid) source.disc = DiscDescription{};
    return source;
}

VirtualDriveSource SourceFromFile(const std::string& path) {
    // A sheet named directly is a drive holding that image and nothing else.
    if (EndsWithCue(path)) {
        VirtualDriveSource source = SourceFromText("image " + path, std::string());
        source.path = path;
        return source;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        VirtualDriveSource source;
        source.path = path;
        source.problem = "cannot read " + path;
        return source;
    }
    std::ostringstream text;
    text << file.rdbuf();
    VirtualDriveSource source = SourceFromText(text.str(), path);
    // The letter comes from a file that could be read, even if it is faulty otherwise.
    if (!source.valid) {
        DiscDescription partial;
        std::string ignored;
        std::istringstream lines(text.str());
        std::string line;
        while (std::getline(lines, line))
            if (line.rfind("drive ", 0) == 0 && ParseDiscDescription(line, &partial, &ignored))
                source.disc.letter = partial.letter;
    }
    return source;
}

std::vector<VirtualDriveSource> Name(std::vector<VirtualDriveSource> sources) {
    std::vector<char> letters;
    for (const VirtualDriveSource& source : sources) letters.push_back(source.disc.letter);
    const std::vector<std::string> names = AssignDriveNames(letters);
    for (std::size_t i = 0; i < sources.size(); ++i) sources[i].name = names[i];
    return sources;
}

std::vector<VirtualDriveSource> SourcesFromEnvironment() {
    std::vector<VirtualDriveSource> sources;
    for (const std::string& path : DescriptionPaths()) sources.push_back(SourceFromFile(path));
    return Name(std::move(sources));
}

} // namespace

bool VirtualCdEnabled() { return !DescriptionPaths().empty(); }

std::vector<std::string> VirtualCdDriveNames() {
    std::vector<std::string> names;
    for (const VirtualDriveSource& source : SourcesFromEnvironment())
        if (!source.name.empty()) names.push_back(source.name);
    return names;
}

std::unique_ptr<CdAudioDriver> CreateVirtualCdDriverFromEnvironment(VirtualCdNotice notice, RawCdOpener* rawOpener) {
    const std::string speedText = Environment("TUNOVA_VIRTUAL_SPEED");
    double speed = speedText.empty() ? 1.0 : std::strtod(speedText.c_str(), nullptr);
    if (!(speed > 0)) speed = 1.0;
    auto driver = std::make_unique<VirtualCdDriver>(SourcesFromEnvironment(), SteadyMilliseconds(), speed,
                                                    LocalFormOfPath(Environment("TUNOVA_VIRTUAL_TRACE")),
                                                    std::move(notice));
    if (rawOpener) *rawOpener = driver->RawOpener();
    return driver;
}

std::unique_ptr<CdAudioDriver> CreateVirtualCdDriver(const std::vector<std::string>& descriptionTexts,
                                                     VirtualCdClock clock, double speed, const std::string& tracePath,
                                                     VirtualCdNotice notice, SoundOutputOpener openSound,
                                                     RawCdOpener* rawOpener) {
    std::vector<VirtualDriveSource> sources;
    for (const std::string& text : descriptionTexts) sources.push_back(SourceFromText(text, std::string()));
    auto driver = std::make_unique<VirtualCdDriver>(Name(std::move(sources)), clock ? clock : SteadyMilliseconds(),
                                                    speed, tracePath, std::move(notice), std::move(openSound));
    if (rawOpener) *rawOpener = driver->RawOpener();
    return driver;
}

void InstallVirtualCdText(const std::string& descriptionText, VirtualCdClock clock) {
    RawCdOpener raw;
    InstallCdAudioDriver(CreateVirtualCdDriver({descriptionText}, std::move(clock), 1.0, std::string(), nullptr,
                                               nullptr, &raw));
    InstallRawCdOpener(std::move(raw));
}
