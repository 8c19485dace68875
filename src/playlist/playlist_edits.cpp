#include "playlist/playlist_edits.h"

#include <algorithm>
#include <utility>

#include "playlist/playlist_line.h"

namespace tunelark {

namespace {

std::string& slot(AppState& app, int i) { return app.entries[static_cast<std::size_t>(i)]; }

}  // namespace

void clearEntries(AppState& app) {
  for (int i = 0; i < app.entryCount; ++i) slot(app, i).clear();
  app.entryCount = 0;
}

bool appendEntry(AppState& app, std::string line) {
  if (app.entryCount >= kMaxEntries) return false;
  slot(app, app.entryCount) = std::move(line);
  ++app.entryCount;
  return true;
}

void removeEntries(AppState& app, const std::vector<int>& rows) {
  int kept = 0;
  std::size_t next = 0;
  for (int i = 0; i < app.entryCount; ++i) {
    while (next < rows.size() && rows[next] < i) ++next;
    if (next < rows.size() && rows[next] == i) continue;
    if (kept != i) slot(app, kept) = std::move(slot(app, i));
    ++kept;
  }
  for (int i = kept; i < app.entryCount; ++i) slot(app, i).clear();
  app.entryCount = static_cast<std::int16_t>(kept);
}

void moveEntriesUp(AppState& app, ListBox& box, const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int last = rows.back();
  for (const int row : rows) {
    if (row == 0) continue;
    std::swap(slot(app, row - 1), slot(app, row));
    box.setSelected(row - 1, true);
    box.setSelected(last, false);
  }
}

void moveEntriesDown(AppState& app, ListBox& box, const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int bottom = box.ListCount() - 1;
  const int first = rows.front();
  const int last = rows.back();
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it == bottom) continue;
    std::swap(slot(app, *it), slot(app, *it + 1));
    box.setSelected(first, false);
    if (last + 1 <= bottom) box.setSelected(last + 1, true);
  }
}

void sortEntries(AppState& app, bool descending) {
  // Byte order, not the locale's: std::string compares its chars as unsigned bytes.
  const auto outOfOrder = [descending](const std::string& a, const std::string& b) {
    return descending ? a < b : b < a;
  };
  for (int unsorted = app.entryCount; unsorted > 1; --unsorted) {
    bool exchanged = false;
    for (int i = 0; i + 1 < unsorted; ++i) {
      if (outOfOrder(slot(app, i), slot(app, i + 1))) {
        std::swap(slot(app, i), slot(app, i + 1));
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}

void shuffleEntries(AppState& app, std::mt19937_64& random) {
  const int count = app.entryCount;
  for (int i = 0; i < count; ++i) {
    if (slot(app, i).empty()) continue;
    const double r = std::generate_canonical<double, 53>(random);
    // r < 1, but r * count can still round up to count.
    const int k = std::min(static_cast<int>(r * count), count - 1);
    if (k > i) std::swap(slot(app, i), slot(app, k));
  }
}

void rebuildRows(const AppState& app, ListBox& box) {
  for (int i = 0; i < app.entryCount && i < box.ListCount(); ++i)
    box.setList(i, rowFromLine(i, app.entries[static_cast<std::size_t>(i)]));
}

std::vector<int> selectedEntryRows(const AppState& app, const ListBox& box) {
  std::vector<int> rows = box.selectedRows();
  std::erase_if(rows, [&app](int row) { return row >= app.entryCount; });
  return rows;
}

}  // namespace tunelark
