#pragma once

#include "core/DataTable.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

// Helpers shared by the tests: writing small logs of the standard layout and reading back what
// became of them.
namespace TestSupport {

// The group marks of a diesel log (its statistics run at load) and of a petrol one.
inline const QList<QByteArray> Diesel = {"'003", "'011", "'020"};
inline const QList<QByteArray> Petrol = {"'002", "'115", "'020"};

// Every cell of every row, "|" between cells and one string per row.
inline QStringList cells(const DataTable &table)
{
    QStringList rows;
    for (int r = 1; r <= table.rowCount(); ++r) {
        QStringList row;
        for (int k = 0; k < table.cellCount(r); ++k)
            row << table.cell(r, k);
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

// What a log's lines 4 and 5 gave: "groups / columns / boxes", the groups marked, the column
// headers ("/width" after one not of the default width) and the captions of the boxes shown.
inline QString layoutOf(const LogFile &log)
{
    const LogLayout::Groups &g = log.groups;
    QStringList groups, columns, boxes;
    const std::pair<const char *, bool> marks[] = {
        {"002", g.g002}, {"003", g.g003}, {"011", g.g011}, {"115", g.g115}, {"120", g.g120}};
    for (const auto &[name, on] : marks)
        if (on)
            groups << QLatin1String(name);
    for (int k = 0; k < log.table.columnCount(); ++k) {
        const DataTable::Column &c = log.table.column(k);
        columns << (c.width == DataTable::DefaultWidth ? c.header
                                                       : c.header + '/' + QString::number(c.width));
    }
    for (int k = 0; k < LogLayout::BoxCount; ++k)
        if (!log.boxCaptions[size_t(k)].isEmpty())
            boxes << QString::number(k) + '=' + log.boxCaptions[size_t(k)];
    return groups.join(',') + " / " + columns.join('|') + " / " + boxes.join('|');
}

// Writes `bytes` to `name` inside `dir` and returns the full path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The path of a sample log of examples/.
inline QString example(const char *name)
{
    return QDir(qEnvironmentVariable("ONDALYX_EXAMPLES")).filePath(QLatin1String(name));
}

// The column-name line of standardLog.
inline const QByteArray Columns = ",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14";

// A log of the standard layout: header, ECU line, empty line, group line with `groups` (e.g.
// "'003", "'011"), the column-name line (fields 0 and 1 empty, then "Ck" naming column k, "TIME" at
// 6 and 11), a units line, a seventh line, then `dataLines` as given, every line ending in CR LF.
inline QByteArray standardLog(const QList<QByteArray> &groups, const QList<QByteArray> &dataLines,
                              const QByteArray &header = "Sunday,6,December,2026,13:51:20,KORVEX")
{
    QByteArray g = ",,Group A:";
    for (const QByteArray &mark : groups)
        g += "," + mark + ",,,";
    QByteArray out = header + "\r\n03L 906 018 JL,ADVMB,R4 2.0L EDC\r\n\r\n" + g + "\r\n" +
                     Columns + "\r\n,,/min,mg/H,mg/H,%,,/min,mbar,mbar,%,,a,b,c,d\r\n" +
                     "Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,"
                     "STAMP,STAMP,STAMP\r\n";
    for (const QByteArray &line : dataLines)
        out += line + "\r\n";
    return out;
}

// A data line of a pull: engine speed (cell 1), EGR (4), the boost wanted and the boost reached,
// the MAP (7 and 8), N75 (9); cells 5 and 10 are times, the others filler.
inline QByteArray pullLine(const QByteArray &speed, const QByteArray &egr, const QByteArray &target,
                           const QByteArray &map, const QByteArray &n75 = "50")
{
    return ",0.1," + speed + ",290,280," + egr + ",0.2,900," + target + "," + map + "," + n75 +
           ",0.3,1,2,3,4";
}

// `count` data lines of the standard layout: in row r cell 1 (the engine speed) is 1000 + 100 r,
// cell 2 "r.5", cell 3 "xr" (not a number) and every other cell k is 10 r + k.
inline QList<QByteArray> rampLines(int count)
{
    QList<QByteArray> lines;
    for (int r = 1; r <= count; ++r) {
        const QByteArray n = QByteArray::number(r);
        QByteArray line =
            ",0." + n + "," + QByteArray::number(1000 + 100 * r) + "," + n + ".5,x" + n;
        for (int k = 4; k <= 14; ++k)
            line += "," + QByteArray::number(r * 10 + k);
        lines << line;
    }
    return lines;
}

} // namespace TestSupport
