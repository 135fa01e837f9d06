// Taking the disc's own titles from its CD-Text, read from the drive.
#pragma once

// Reads the CD-Text of the disc in CdDevice's drive through the raw CD seam and fills
// the still empty fields of DiscInfo from it: the album's performer and title as artist
// and title; each track's title, as "performer / title" when the track's performer is
// not the album's. Returns 1 when every audio track then has a title, so that no lookup
// is needed; 0 otherwise (what it found is kept).
int ImportCdText();
