// A file's whole content, byte for byte (no line-end translation): what tests compare
// logs, transcripts and written files against.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// Empty when the file cannot be read.
inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
