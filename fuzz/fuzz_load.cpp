// libFuzzer target: the bytes of one input are a log file, taken through everything a load sets
// off and what a user then does with it, its analysis and the power of its pulls included.
//
// The bytes go to a memory file (memfd) that is opened again by its /proc path, so the reader
// sees a regular file by name as it does at start-up; nothing touches the disk.

#include "core/Analysis.h"
#include "core/DataTable.h"
#include "core/LogReader.h"
#include "core/NumberRules.h"
#include "core/PowerOfPulls.h"
#include "core/Stats.h"
#include "program/AppState.h"
#include "program/PointReadout.h"
#include "program/Report.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

int logFile()
{
    static const int fd = [] {
        const int made = memfd_create("ondalyx-fuzz.csv", MFD_CLOEXEC);
        if (made < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return made;
    }();
    return fd;
}

void writeAll(int fd, const uint8_t *data, size_t size)
{
    if (ftruncate(fd, 0) != 0)
        std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, off_t(done));
        if (n <= 0)
            std::abort();
        done += size_t(n);
    }
}

// Three boxes for the power curve: lowest the engine speed, highest the torque.
void powerCurve(AppState &state, int a, int b, int c)
{
    state.tickOnly({a, b, c});
    state.setChCVTicked(true);
    state.setChCVTicked(false);
}

// The numbers the table keeps for a cell must be the number rules applied to the cell's text:
// LeadingValue of the log's bytes, and TextNumber of the table's text (decimal comma). Cells are
// asked for in a scattered order so that the table's cache is filled in more than one way.
void checkNumbers(const DataTable &table, uint32_t choice)
{
    const int rows = std::min(table.rowCount(), 40);
    for (int k = 0; k < 18; ++k) {
        const int cell = int((uint32_t(k) * 7u + choice) % 18u);
        const DataTable::NumberColumn &column = table.numbers(cell);
        for (int r = 1; r <= rows; ++r) {
            std::string_view raw;
            const bool exists = table.rawCell(r, cell, raw);
            const double cached = column.leading(size_t(r - 1));
            if (!exists) {
                if (!std::isnan(cached))
                    std::abort(); // a missing cell must read as no value
                continue;
            }
            const double leading = NumberRules::LeadingValue(raw);
            if (!(cached == leading || (std::isnan(cached) && std::isnan(leading))))
                std::abort(); // the cached leading value differs from LeadingValue
            double expected = 0;
            double got = 0;
            const bool readable = NumberRules::TextNumber(table.cellText(r, cell), expected);
            if (table.textNumber(r, cell, got) != readable || (readable && got != expected))
                std::abort(); // the cached TextNumber differs from TextNumber
        }
    }
}

// What the reader hands out beside the table must line up with it: one set of lines 5-7 for each
// column, the slot times (newer layout only) one row for each table row and all of one width,
// and the groups' places within A, B and C.
void checkLogFile(const QString &path)
{
    const LogReadResult read = LogReader::read(path);
    if (!read.ok)
        return;
    const LogFile &log = read.log;
    if (log.columnLines.size() != size_t(log.table.columnCount()))
        std::abort(); // lines 5-7 not one for each column
    const DataTable &times = log.slotTimes;
    if (times.rowCount() != (log.newerLayout ? log.table.rowCount() : 0))
        std::abort(); // slot times out of step with the rows
    for (int r = 2; r <= std::min(times.rowCount(), 40); ++r) {
        if (times.cellCount(r) != times.cellCount(1))
            std::abort(); // slot time rows of different widths
    }
    const LogLayout::Groups &g = log.groups;
    for (const int place : {g.place002, g.place003, g.place011, g.place115}) {
        if (place < -1 || place > 2)
            std::abort(); // a group placed outside A, B and C
    }
}

// The power of one pull with the default vehicle: a curve has a point for every row of the pull,
// in row order, every figure finite, and its peaks are the highest of those points; without a
// curve there are no points and no peaks.
void checkPower(const Pulls::Pull &pull, const PullPower::Result &power)
{
    const bool curve = power.outcome == PullPower::Result::Curve;
    if (curve == power.points.empty() || curve != power.peakCv.has_value() ||
        curve != power.peakNm.has_value())
        std::abort(); // points or peaks that do not go with the outcome
    if (curve && power.points.size() != size_t(pull.rows()))
        std::abort(); // a curve without a point for every row
    if (power.rate && !std::isfinite(*power.rate))
        std::abort();
    bool cvFound = false, nmFound = false;
    for (size_t k = 0; k < power.points.size(); ++k) {
        const PullPower::Point &point = power.points[k];
        if (point.row != pull.firstRow + int(k))
            std::abort(); // a point for the wrong row
        if (!std::isfinite(point.rpm) || !std::isfinite(point.cv) || !std::isfinite(point.nm) ||
            !(point.rpm > 0))
            std::abort(); // a figure that is not finite, or a speed that does not rise from 0
        if (point.cv > power.peakCv->value || point.nm > power.peakNm->value)
            std::abort(); // a point above the peak
        cvFound = cvFound || (point.cv == power.peakCv->value && point.rpm == power.peakCv->rpm);
        nmFound = nmFound || (point.nm == power.peakNm->value && point.rpm == power.peakNm->rpm);
    }
    if (curve && (!cvFound || !nmFound))
        std::abort(); // a peak that is none of the points
}

// The analysis of the loaded log as the "Análisis" tab computes it, and the power of every pull:
// every row is in one pull or left out with one reason, the pulls follow each other within the
// table, and each pull's power holds together (checkPower).
Analysis::Result checkAnalysis(const AppState &state)
{
    const DataTable &table = state.table;
    Analysis::Result result =
        Analysis::compute(table, state.slotTimes, state.columnLines, state.newerLayout);
    int counted = 0;
    for (int n : result.leftOutCount)
        counted += n;
    int previous = 0;
    for (const Pulls::Pull &pull : result.pulls) {
        if (pull.firstRow <= previous || pull.rows() < Pulls::MinRows ||
            pull.lastRow > table.rowCount())
            std::abort(); // pulls out of order, overlapping, too short or past the table
        counted += pull.rows();
        previous = pull.lastRow;
    }
    if (counted != table.rowCount() || result.reasons.size() != size_t(table.rowCount()))
        std::abort(); // a row counted twice or not at all
    const std::vector<PullPower::Result> power =
        PowerOfPulls::compute(table, state.slotTimes, state.newerLayout, result, Vehicle());
    if (power.size() != result.pulls.size())
        std::abort();
    for (size_t p = 0; p < power.size(); ++p)
        checkPower(result.pulls[p], power[p]);
    return result;
}

// The same log opened as the one to compare with reads as the loaded one: the same pulls, a power
// result for each. Loading a log again drops it.
void checkComparison(AppState &state, const QString &path, const Analysis::Result &loaded)
{
    QString error;
    if (!state.comparison.open(path, state.currentSession(), error))
        std::abort(); // a log the program has loaded cannot be read to compare
    const Analysis::Result &other = state.comparison.analysis();
    if (other.pulls.size() != loaded.pulls.size() || other.rpmColumn != loaded.rpmColumn ||
        state.comparison.power().size() != other.pulls.size())
        std::abort(); // the second log read otherwise than the first
    for (size_t p = 0; p < other.pulls.size(); ++p)
        if (other.pulls[p].firstRow != loaded.pulls[p].firstRow ||
            other.pulls[p].lastRow != loaded.pulls[p].lastRow)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FILE *const sink = std::fopen("/dev/null", "w");
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(logFile());
    writeAll(logFile(), data, size);
    checkLogFile(path);

    // A few bits of the input choose among the later steps, so that one run stays short while
    // the corpus as a whole takes every path.
    uint32_t choice = 2166136261u;
    for (size_t i = 0; i < size && i < 64; ++i)
        choice = (choice ^ data[i]) * 16777619u;

    AppState state;
    state.showMessage = [](const QString &, MessageKind) {};
    const bool loaded = state.FormLoad(path);
    if (loaded)
        checkComparison(state, path, checkAnalysis(state));
    // A file of several sessions: one of the others, chosen as from the "Sesiones" menu.
    if (state.sessions().size() > 1) {
        state.OpenSession(1 + int((choice >> 16) % state.sessions().size()));
        if (state.comparison.isOpen())
            std::abort(); // another session loaded, the comparison kept
    }
    checkNumbers(state.table, choice);
    state.CalcStats();

    // What the window offers on a loaded log: the power curve on two choices of boxes, a
    // deleted row, the chart reset; and one of: the report of every cell, a picked point, a
    // colour with the atmospheric box, the power curve with too few boxes.
    powerCurve(state, 1, 7, 8);
    const int a = 1 + int(choice % 14);
    const int b = 1 + int((choice >> 4) % 14);
    const int c = 1 + int((choice >> 8) % 14);
    powerCurve(state, a, b, c);
    state.selectEngine(EngineType::Diesel);
    state.DeleteRow(1);
    checkAnalysis(state);
    switch ((choice >> 12) % 4) {
    case 0: {
        Report::Options options;
        options.cells = true;
        options.analysis = true;
        Report::write(state, options, sink);
        break;
    }
    case 1:
        for (int s = 1; s <= state.chart.seriesCount(); ++s)
            PointReadout::Text(state, state.chart, s, 1 + int(size % 7));
        break;
    case 2:
        state.ColorChosen(7, QColor(1, 2, 3));
        state.setTxtAtmo(QStringLiteral("1013"));
        break;
    default:
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        state.setBoxTicked(3, true);
        state.setChCVTicked(true); // one box: the message, then the reset
        break;
    }
    state.ResetChart();
    return 0;
}
