#pragma once

#include <vector>

class QAbstractItemModel;
class QTableView;

// The data table's lists (ListDatos of the main window and of the full-screen table) look and
// behave alike: one row per sample, whole rows selected, nothing editable, no grid, the columns
// at the list's default width of 1440 twips.
namespace TableView {

// Sets up `list` to show `model` in the list's font (9.75 pt bold of the window's font).
void setUp(QTableView *list, QAbstractItemModel *model);

// Gives column k of `list` the width widths[k]: 0 hides it, DataTable::DefaultWidth shows it at
// the default width, any other value is twips. Only the columns that differ are touched: sizing
// a column costs the header a walk over all its columns, which a log of 100,000 named columns
// would feel as a freeze if every column were sized.
void setColumnWidths(QTableView *list, const std::vector<int> &widths);

} // namespace TableView
