#include "core/Stats.h"

#include "core/DataTable.h"
#include "core/NumberRules.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

// Subtracted from the shown pressures. Kept as the program always did: 0, the atmospheric
// pressure box feeds no figure (the figures are the log's own pressures).
constexpr double AtmosphericTerm = 0;

// A working value of a statistic: unset, a cell's text or a number. A text is held as the cell
// it came from (the table does not change while a statistic runs); comparisons see its leading
// value with "," taken as ".", read once per table from the table's numbers.
class Value {
public:
    enum class Kind { Unset, Text, Number };

    static Value number(double n)
    {
        Value v;
        v.setNumber(n);
        return v;
    }

    void setCell(int row, int cell, double leading)
    {
        m_kind = Kind::Text;
        m_row = row;
        m_cell = cell;
        m_compared = leading;
    }
    void setNumber(double n)
    {
        m_kind = Kind::Number;
        m_number = n;
        m_compared = n;
    }

    // What comparisons see: the number, the text's leading value, 0 when unset.
    double compared() const { return m_compared; }

    // The value as an operand of an addition or subtraction: unset counts as 0, a text must be
    // readable by TextNumber. Returns false when it cannot take part.
    bool operand(const DataTable &table, double &out) const
    {
        switch (m_kind) {
        case Kind::Unset:
            out = 0;
            return true;
        case Kind::Number:
            out = m_number;
            return true;
        case Kind::Text:
            return table.textNumber(m_row, m_cell, out);
        }
        return false;
    }

    // The value as a label joins it: a text unchanged, a number as a whole number, unset as
    // nothing.
    std::string joined(const DataTable &table) const
    {
        switch (m_kind) {
        case Kind::Unset:
            return {};
        case Kind::Number:
            return NumberRules::WholeNumber(m_number);
        case Kind::Text:
            return table.cellText(m_row, m_cell);
        }
        return {};
    }

    // The value shown through the "##,##" pattern.
    std::string grouped(const DataTable &table) const
    {
        if (m_kind == Kind::Text)
            return NumberRules::FormatGrouped(std::string_view(table.cellText(m_row, m_cell)));
        return NumberRules::FormatGrouped(m_kind == Kind::Number ? m_number : 0.0);
    }

private:
    Kind m_kind = Kind::Unset;
    int m_row = 0;
    int m_cell = 0;
    double m_number = 0;
    double m_compared = 0;
};

// value <- cell (row, cell). A row or cell that does not exist fails the read and leaves the
// value as it was.
bool readCell(const DataTable &table, const DataTable::NumberColumn &numbers, int row, int cell,
              Value &value)
{
    if (row < 1 || row > table.rowCount())
        return false;
    const double leading = numbers.leading(size_t(row - 1));
    if (std::isnan(leading))
        return false;
    value.setCell(row, cell, leading);
    return true;
}

// The same for a cell that is only shown (the engine speed): read on its own, not by column.
bool readShownCell(const DataTable &table, int row, int cell, Value &value)
{
    std::string_view raw;
    if (!table.rawCell(row, cell, raw))
        return false;
    value.setCell(row, cell, NumberRules::LeadingValue(raw));
    return true;
}

// value <- TextNumber(value) minus the atmospheric term; a text that cannot be read keeps it.
void takePressure(const DataTable &table, Value &value)
{
    double pressure = 0;
    if (value.operand(table, pressure))
        value.setNumber(pressure - AtmosphericTerm);
}

QString caption(const std::string &text)
{
    return QString::fromStdString(text);
}

// The extreme-value scan of MaxPico, MaxN75 and MinEGR: the starting extreme is row 1's cell
// together with row 1's speed; a later row replaces both only when it compares strictly beyond.
struct Extreme {
    Value value;
    Value speed;
};

template <typename Beyond>
Extreme scanExtreme(const DataTable &table, int cell, int speedCell, Beyond beyond)
{
    Extreme extreme;
    Value current;
    const DataTable::NumberColumn &numbers = table.numbers(cell);
    readCell(table, numbers, 1, cell, extreme.value);
    readShownCell(table, 1, speedCell, extreme.speed);
    const int rows = table.rowCount();
    for (int r = 1; r <= rows; ++r) {
        readCell(table, numbers, r, cell, current);
        if (beyond(current.compared(), extreme.value.compared())) {
            extreme.value = current;
            readShownCell(table, r, speedCell, extreme.speed);
        }
    }
    return extreme;
}

// The rows from `first` to `last` (a real bound) that exist in a table of `rows` rows: rows
// outside 1..rows fail every read, so leaving them out changes nothing. Empty when first > last.
std::pair<int, int> rowsBetween(int first, double last, int rows)
{
    const double end = std::min(std::floor(last), double(rows));
    const int start = std::max(first, 1);
    if (!(end >= double(start)))
        return {1, 0};
    return {start, int(end)};
}

} // namespace

namespace Stats {

QString MaxPico(const DataTable &table, const Cells &cells)
{
    Extreme peak =
        scanExtreme(table, cells.map, cells.speed, [](double a, double b) { return a > b; });
    takePressure(table, peak.value);
    return caption("Pico Max MAP: " + peak.value.grouped(table) + " Bar a las " +
                   peak.speed.joined(table) + " RPM");
}

QString TimeCarga(const DataTable &table, const Cells &cells)
{
    const int speedCell = cells.speed;
    const int referenceCell = cells.reference;
    const int mapCell = cells.map;
    Value reference;
    Value actual;
    Value speed;
    const DataTable::NumberColumn &references = table.numbers(referenceCell);
    const DataTable::NumberColumn &pressures = table.numbers(mapCell);
    const int rows = table.rowCount();
    for (int r = 1; r <= rows; ++r) {
        readCell(table, references, r, referenceCell, reference);
        readCell(table, pressures, r, mapCell, actual);
        if (actual.compared() >= reference.compared()) {
            reference = actual;
            readShownCell(table, r, speedCell, speed);
            break;
        }
    }
    takePressure(table, reference);
    return caption("Turbo cargado a " + speed.joined(table) + " RPM con " +
                   reference.grouped(table) + " Bar");
}

QString VariacionPresion(const DataTable &table, const Cells &cells)
{
    const int referenceCell = cells.reference;
    const int mapCell = cells.map;
    // The working values all start as the number 0.
    Value mark = Value::number(0);
    Value current = Value::number(0);
    int peakRow = 0;
    double firstFigure = 0;
    double secondFigure = 0;
    double variation = 0;

    // The table does not change while a statistic runs, so its row count is read once.
    const int rows = table.rowCount();
    const DataTable::NumberColumn &references = table.numbers(referenceCell);

    // The highest cell 7 and its row; peak row stays 0 when row 1 holds it.
    readCell(table, references, 1, referenceCell, mark);
    for (int r = 1; r <= rows; ++r) {
        readCell(table, references, r, referenceCell, current);
        if (current.compared() > mark.compared()) {
            mark = current;
            peakRow = r;
        }
    }

    // From the peak on, a row that reads lower than mark puts its own number in mark; later
    // rows then compare with that number. Kept as the program always did: row 0 (peak in row 1)
    // fails its read and compares the text left in current.
    for (int r = peakRow; r <= rows; ++r) {
        readCell(table, references, r, referenceCell, current);
        if (current.compared() < mark.compared())
            mark.setNumber(r);
    }

    // Totals of cells 7 and 8 over the rows peak row .. row count - mark, keeping the whole part
    // of each running total (they take the place of current, which starts again from 0). A cell
    // that cannot be read adds nothing; a mark that cannot be read as a number runs no row.
    double markValue = 0;
    const bool markReadable = mark.operand(table, markValue);
    const auto stretchTotal = [&](int cell) {
        double total = 0;
        if (!markReadable)
            return total;
        const auto [from, to] = rowsBetween(peakRow, double(rows) - markValue, rows);
        const DataTable::NumberColumn &numbers = table.numbers(cell);
        for (int r = from; r <= to; ++r) {
            const double cellValue = numbers.number(size_t(r - 1));
            if (std::isnan(cellValue))
                continue;
            const double next = std::trunc(total + cellValue);
            if (std::isfinite(next))
                total = next;
        }
        return total;
    };

    // Kept as the program always did: the first figure subtracts mark, the second does not. Peak
    // row 0 divides by zero and leaves both figures at 0.
    const double referenceTotal = stretchTotal(referenceCell);
    if (peakRow != 0 && markReadable) {
        const double figure = referenceTotal / peakRow - rows - markValue;
        if (std::isfinite(figure))
            firstFigure = figure;
    }
    const double mapTotal = stretchTotal(mapCell);
    if (peakRow != 0) {
        const double figure = mapTotal / peakRow - rows;
        if (std::isfinite(figure))
            secondFigure = figure;
    }

    // Each figure goes through the "##,##" pattern and back; a figure that comes to zero gives
    // an empty text, which cannot be read, and the variation stays 0.
    double secondShown = 0;
    double firstShown = 0;
    if (NumberRules::TextNumber(NumberRules::FormatGrouped(secondFigure), secondShown) &&
        NumberRules::TextNumber(NumberRules::FormatGrouped(firstFigure), firstShown)) {
        const double difference = secondShown - firstShown;
        if (std::isfinite(difference))
            variation = difference;
    }

    return caption("Tenemos una variacion de presion de: " + NumberRules::WholeNumber(variation));
}

QString MaxN75(const DataTable &table, const Cells &cells)
{
    const Extreme max =
        scanExtreme(table, cells.n75, cells.speed, [](double a, double b) { return a > b; });
    return caption("Valor Maximo N75: " + max.value.joined(table) + " a las " +
                   max.speed.joined(table) + " RPM");
}

QString MinEGR(const DataTable &table, const Cells &cells)
{
    const Extreme min =
        scanExtreme(table, cells.egr, cells.speed, [](double a, double b) { return a < b; });
    return caption("Valor Minimo EGR: " + min.value.joined(table) + " a las " +
                   min.speed.joined(table) + " RPM");
}

Cells Cells::forGroups(int group003, int group011)
{
    if (group003 < 0 || group011 < 0 || group003 == group011) {
        group003 = 0;
        group011 = 1;
    }
    const int a = 5 * group003;
    const int b = 5 * group011;
    return {1 + a, 4 + a, 2 + b, 3 + b, 4 + b};
}

Figures Compute(const DataTable &table, const Cells &cells)
{
    // The cells the five read, in one walk over the rows.
    table.readNumbers({cells.egr, cells.reference, cells.map, cells.n75});
    return {MaxPico(table, cells), TimeCarga(table, cells), VariacionPresion(table, cells),
            MaxN75(table, cells), MinEGR(table, cells)};
}

} // namespace Stats
