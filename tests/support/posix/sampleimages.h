// The sample CD images of tools/images/make_images.py, made once per test program in a
// folder of its own and removed when the program ends.
#pragma once

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

inline const std::string& SampleImagesFolder() {
    struct Folder {
        std::string path;
        Folder() {
            char pattern[] = "/tmp/tunova-images-XXXXXX";
            if (!mkdtemp(pattern)) return;
            const std::string command =
                "python3 " TUNOVA_SOURCE_DIR "/tools/images/make_images.py " + std::string(pattern) + " >/dev/null";
            if (std::system(command.c_str()) == 0) path = pattern;
        }
        ~Folder() {
            if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
        }
    };
    static const Folder folder;
    return folder.path;
}

// The path of one file of the sample images; fails the test when they could not be made.
inline std::string SampleImage(const std::string& name) {
    EXPECT_FALSE(SampleImagesFolder().empty()) << "tools/images/make_images.py failed";
    return SampleImagesFolder() + "/" + name;
}
