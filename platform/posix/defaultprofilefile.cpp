// Native builds have no Windows directory: a reader without one finds no file.
#include "platform/inireader.h"

ProfileFileApi& DefaultProfileFile() {
    static IniFileReader reader("");
    return reader;
}
