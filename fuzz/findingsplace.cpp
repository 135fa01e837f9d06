// Where libFuzzer keeps what it finds (crash-, leak-, timeout- and oom- files) when a
// run names no place of its own: build/fuzz/findings/<target>/ beside the target's
// program. Left to itself libFuzzer writes them to the working directory, which is the
// source tree when a target is run by hand from there.
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

bool NamesAPlace(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-artifact_prefix=", 17) == 0 ||
            std::strncmp(argv[i], "-exact_artifact_path=", 21) == 0)
            return true;
    }
    return false;
}

} // namespace

// libFuzzer calls this before it reads its flags, and reads them from argv as left here.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (NamesAPlace(*argc, *argv)) return 0;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    if (error) return 0;
    std::string target = program.filename().string();
    const std::string suffix = "_fuzz";
    if (target.size() > suffix.size() && target.compare(target.size() - suffix.size(), suffix.size(), suffix) == 0)
        target.resize(target.size() - suffix.size());
    const std::filesystem::path findings = program.parent_path().parent_path() / "findings" / target;
    std::filesystem::create_directories(findings, error);
    if (error) return 0;
    // Both live as long as the process: libFuzzer keeps pointers into them.
    static std::string place = "-artifact_prefix=" + findings.string() + "/";
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.push_back(place.data());
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
    return 0;
}
