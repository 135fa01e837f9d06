// A native build has no CD-ROM drives of its own; only virtual ones.
#include "app/startsequence.h"

std::vector<std::string> MachineCdRomDrives() { return {}; }
