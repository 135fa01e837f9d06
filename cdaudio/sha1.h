// SHA-1 (FIPS 180-1) of a byte string, for the MusicBrainz disc id. Written once here
// as portable code: the same computation in every build, and no crypto provider loaded
// while the program starts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Sha1Digest = std::array<std::uint8_t, 20>;

Sha1Digest Sha1(const void* bytes, std::size_t count);
