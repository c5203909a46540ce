#pragma once

#include <string>
#include <string_view>

class IMatchListHost;
class TListView;

// The first row (in the view's current order) whose column holds exactly text, or -1.
// Column 0 and negative columns, or columns past the view's last, find nothing.
int FindItemByColumn(const TListView& view, std::string_view text, int column);

// Adds a plate entry, or sets a special entry when the plate is one of the keywords
// "NOMATCH", "NOREAD", "NOPLATE". Interactive (a person's Add) looks for the plate first
// and asks before updating its id-number.
void AddPlateEntry(IMatchListHost& host, const std::string& plate, const std::string& idText,
                   bool interactive);

// Empties the plate rows and the special entries; clears Modified last.
void ClearMatchList(IMatchListHost& host);

// Keeps, of every group of rows with one plate, the row nearest the top of the view's
// current order, and tells how many went.
void DeleteDuplicatePlates(IMatchListHost& host);

// Replaces the match list with the valid entries of the file from line firstLine (1-based)
// on. A missing file changes nothing. The file is read whole before the list is touched,
// so a file that cannot be read leaves the list as it was.
void LoadMatchList(IMatchListHost& host, const std::string& fileName, int firstLine, char delimiter,
                   char quote, int64_t maxId);

// The match list as the text of a list file.
std::string MatchListText(IMatchListHost& host, char delimiter, char quote);
// Writes the match list (replacing the file only once the new one is complete) and
// confirms with "File saved %s".
void SaveMatchList(IMatchListHost& host, const std::string& fileName, char delimiter, char quote);
