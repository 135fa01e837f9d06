// Description paths may be written for either side of Wine: "Z:\work\a.disc" or
// "/work/a.disc". Wine maps Z: to the Unix root.
#pragma once

#include <string>

// "Z:\work\a.disc" -> "/work/a.disc"; other paths only get forward slashes.
std::string PosixFormOfPath(const std::string& path);
// "/work/a.disc" -> "Z:\work\a.disc"; other paths are kept.
std::string WindowsFormOfPath(const std::string& path);
// The form this build's file functions understand.
std::string LocalFormOfPath(const std::string& path);
