#pragma once
// The playlist's edits as plain functions over the application state: the entries change here,
// the rows of the playlist box where an edit moves its selection. Which file is rewritten
// afterwards, and what the window shows, is the handlers' business.

#include <random>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "ui/list_box.h"

namespace tunelark {

// Empties the playlist: every slot in use cleared, the count 0.
void clearEntries(AppState& app);

// Appends `line`; false when the playlist already holds its 80 entries.
bool appendEntry(AppState& app, std::string line);

// Removes the entries at `rows` (ascending); the rest keep their order and close up.
void removeEntries(AppState& app, const std::vector<int>& rows);

// Moves each entry at `rows` (ascending) one place up or down, exchanging it with its
// neighbour, and moves `box`'s selection as one block: its ends follow, the rest stays put.
void moveEntriesUp(AppState& app, ListBox& box, const std::vector<int>& rows);
void moveEntriesDown(AppState& app, ListBox& box, const std::vector<int>& rows);

// Stable bubble sorts by byte value: "C" before "c", a prefix before the longer line.
void sortEntries(AppState& app, bool descending);

// Each non-empty entry in turn is exchanged with a uniformly drawn slot when that slot lies
// further down; an entry never moves up by its own draw.
void shuffleEntries(AppState& app, std::mt19937_64& random);

// Every row of `box` rebuilt from the entries, names looked up on disk.
void rebuildRows(const AppState& app, ListBox& box);

// Selected rows that have an entry behind them, ascending.
std::vector<int> selectedEntryRows(const AppState& app, const ListBox& box);

}  // namespace tunelark
