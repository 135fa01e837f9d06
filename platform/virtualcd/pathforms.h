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

// A file named relative to another's folder ("01.wav" beside "Z:\cds\a.cue"): an
// absolute name ("/x", "\x", "C:...") in this build's form, else the folder of base
// joined to name.
std::string PathBeside(const std::string& base, const std::string& name);
