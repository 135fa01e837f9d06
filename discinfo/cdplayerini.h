// Importing what the Windows CD Player's Cdplayer.ini knows about the disc.
#pragma once

// Fills the still empty fields of DiscInfo from the disc's section; 1 when an artist,
// a title or a track title was taken (an imported order alone gives 0), else 0.
int ImportCdplayerIni();
