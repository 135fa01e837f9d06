// What the disc lookup thread does: ask the local copy of the cddb database, then
// MusicBrainz, then the cddb server, letting the user choose among close matches.
#pragma once

#include <string>

// The directory of the server step's temporary file: the Windows directory's "TEMP".
std::string LookupTempDirectory(const std::string& windowsDirectory);

// The lookup for the disc in CdDevice, run on the lookup thread before its hand-over;
// fills DiscInfo when a source knows the disc, and reports progress as query status.
void SearchCddbSources();

// Makes StartDiscInfo's lookups use SearchCddbSources and lets FinishDiscInfo close a
// pending match choice. Call before StartDiscInfo.
void InstallCddbLookup();
