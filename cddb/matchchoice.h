// Choosing among the close matches a cddb server offered: the match file the server
// conversation wrote is read into titles and disc ids, and the user picks one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The match file is read in pieces of at most this many characters; each piece of a
// longer line counts as a line of its own.
constexpr int MatchPieceLimit = 255;

// The offered matches in file order: titles[i] ("artist / title") belongs to ids[i],
// filed in categories[i]. The same id may stand in several categories with different
// entries, so a choice is only known with its category.
struct MatchList {
    std::vector<std::string> titles;
    std::vector<std::uint32_t> ids;
    std::vector<std::string> categories;
};

// A chosen match: its category and disc id; id 0 when none was chosen.
struct ChosenMatch {
    std::string category;
    std::uint32_t id = 0;
};

// One match line ("category discid title..."): false when it has no disc id word of one
// to eight hexadecimal digits (or the id is 0, which could not be told from no choice).
// The title is in the program's code page (a UTF-8 title is converted).
bool ParseMatchLine(const char* line, std::string* category, std::uint32_t* id, std::string* title);

// Every match of the file from start, in order. Lines without a disc id are left out.
MatchList ReadMatchFile(std::FILE* file, const std::fpos_t& start);

// Who picks a match: the Fuzzy Search Results dialog in the Windows builds, a script
// in tests.
class MatchChooser {
public:
    virtual ~MatchChooser() = default;
    // Shows the titles and waits for the choice; the chosen row + 1, or 0 for none.
    // Runs on the lookup thread.
    virtual int Choose(const std::vector<std::string>& titles) = 0;
    // Ends a choice in progress as if none was made, and any later one at once; returns
    // when the pending choice has ended. Called at shutdown on the user-interface thread.
    virtual void Abandon() = 0;
};

// Installs the chooser for the process (null: the build's own). Tests install theirs
// before any lookup runs.
void InstallMatchChooser(MatchChooser* chooser);
// The build's own chooser (the dialog, or natively one that never chooses).
MatchChooser& DefaultMatchChooser();

// Reads the matches from start and lets the chooser pick: the chosen category and disc
// id, or id 0 when none was chosen or the file offered none.
ChosenMatch ChooseMatch(std::FILE* file, const std::fpos_t& start);

// Lets the chooser pick among titles of other sources (MusicBrainz's releases): the
// chosen index from 0, or -1 when none was chosen or there was none to choose.
int ChooseAmong(const std::vector<std::string>& titles);

// Closes a pending choice (the shutdown's closeChoice step).
void CloseMatchChoice();
