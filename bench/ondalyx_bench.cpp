// ondalyx_bench: how long Ondalyx takes on logs of 1,000, 32,767 and 1,000,000 rows, each time
// also as a multiple of a minimal parse of the same file measured in the same run (the machine is
// shared, so absolute times drift; the ratios hold better).
//
//   ondalyx_bench [--reps N] [--sizes 1000,32767,1000000] [--keep DIR]
//
// The logs are written by the bench itself: a diesel pull in the standard layout (groups '003,
// '011 and '020), CR LF line ends, numbers with "." decimals. Every figure is the best of N runs.

#include "program/AppState.h"
#include "gui/Form1.h"
#include "core/ChartModel.h"
#include "gui/ChartView.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"
#include "core/Stats.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <qcustomplot.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const QSize ChartSize(769, 481); // Chart1 in the main window, in pixels

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// The best of `reps` runs of `work`, in seconds. `prepare` runs untimed before each.
double best(int reps, const std::function<void()> &work,
            const std::function<void()> &prepare = nullptr)
{
    double fastest = 1e30;
    for (int i = 0; i < reps; ++i) {
        if (prepare)
            prepare();
        const auto start = Clock::now();
        work();
        fastest = std::min(fastest, seconds(start));
    }
    return fastest;
}

// ---- the logs ----

// A diesel pull: the engine speed climbs from 900 to 4500 rpm over 400 rows and starts again;
// the boost target leads the actual boost, which overshoots a little at the top.
std::string makeLog(int rows)
{
    std::string out;
    out.reserve(size_t(rows) * 90 + 1024);
    out += "Friday,14,March,2025,10:42:17:31845,KORVEX Version: Release 11.2.4 (x64),Data "
           "version: 20250613 DS342.2\r\n";
    out += "03G 906 021 KM,BKD,R4 2.0L EDC G000AG 0914,\r\n";
    out += "\r\n";
    out += ",,Group A:,'003,,,,Group B:,'011,,,,Group C:,'020,,,\r\n";
    out += ",,Engine Speed,EGR Air Mass (Spec.),EGR Air Mass (Act.),EGR Duty Cycle,TIME,Engine "
           "Speed,Boost Press. (Spec.),Boost Press. (Act.),Charge Press. Control,TIME,Injection "
           "Qty,Torque Limit,Smoke Limit,Fuel Temp.\r\n";
    out += ",,/min,mg/H,mg/H,%,,/min,mbar,mbar,%,,mg/H,Nm,mg/H,C\r\n";
    out += "Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,"
           "STAMP,STAMP\r\n";
    char line[256];
    for (int r = 0; r < rows; ++r) {
        const double t = 0.10 + r * 0.23;
        const int phase = r % 400;
        const double speed = 900 + phase * 9.0;
        const double target = std::min(2450.0, 1000 + phase * 4.2);
        const double actual = std::min(2480.0, 960 + std::max(0, phase - 12) * 4.4);
        const double egr = std::max(0.0, 290.0 - phase * 0.9);
        const int n = std::snprintf(
            line, sizeof line,
            ",%.2f,%.0f,%.0f,%.1f,%.1f,%.1f,%.0f,%.0f,%.0f,%.1f,%.1f,%.2f,%.0f,%.1f,%.1f\r\n", t,
            speed, 290.0, egr, 63.0 + (r % 7) * 0.3, t + 0.07, speed - 7, target, actual,
            39.1 + (phase % 50) * 0.9, t + 0.16, 12.44 + (phase % 31) * 0.5, 150.0 + phase * 0.8,
            20.19 + (phase % 13) * 0.7, 41.5 + (r % 5) * 0.1);
        out.append(line, size_t(n));
    }
    return out;
}

bool writeFile(const QString &path, const std::string &bytes)
{
    FILE *f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// ---- the floor: read the file, split every data line at ",", convert every field ----

double floorParse(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    // One 1 MiB buffer, read again and again; a line cut by the buffer's end is carried over.
    std::vector<char> buffer(size_t(1) << 20);
    std::string carry;
    double sum = 0;
    int line = 0;
    const auto parseLine = [&](const char *p, const char *lineEnd) {
        if (++line < 8)
            return;
        const char *stop = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
        const char *field = p;
        for (;;) {
            const char *comma =
                static_cast<const char *>(std::memchr(field, ',', size_t(stop - field)));
            const char *fieldEnd = comma ? comma : stop;
            double value = 0;
            std::from_chars(field, fieldEnd, value);
            sum += value;
            if (!comma)
                break;
            field = comma + 1;
        }
    };
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        const char *p = buffer.data();
        const char *const end = p + n;
        while (p < end) {
            const char *eol = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            if (!eol) {
                carry.append(p, size_t(end - p));
                break;
            }
            if (carry.empty()) {
                parseLine(p, eol);
            } else {
                carry.append(p, size_t(eol - p));
                parseLine(carry.data(), carry.data() + carry.size());
                carry.clear();
            }
            p = eol + 1;
        }
    }
    if (!carry.empty())
        parseLine(carry.data(), carry.data() + carry.size());
    ::close(fd);
    return sum;
}

// ---- the report as a child process: wall time and its peak memory ----
//
// A process's peak memory (ru_maxrss) includes the memory of the process it was forked from, as
// it stood when the child ran exec: a child of this bench, which holds a million-row log, would
// report the bench's size. So the bench starts itself again as a small "spawner" first (exec
// resets nothing, but a process forked from the fresh spawner starts small), and the spawner
// runs the program and writes its time, peak memory and status to its standard output.

struct ChildRun {
    double seconds = 0;
    long maxRssKiB = 0;
    int status = -1;
};

char *const *argvOf(const std::vector<std::string> &args, std::vector<char *> &storage)
{
    storage.clear();
    for (const std::string &a : args)
        storage.push_back(const_cast<char *>(a.c_str()));
    storage.push_back(nullptr);
    return storage.data();
}

// The spawner's side: runs args, writes "seconds maxrss status" to stdout.
int spawnAndMeasure(const std::vector<std::string> &args)
{
    std::vector<char *> storage;
    char *const *argv = argvOf(args, storage);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    if (pid < 0)
        return 1;
    struct rusage usage;
    int status = 0;
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    std::printf("%.6f %ld %d\n", seconds(start), usage.ru_maxrss, status);
    return 0;
}

// The bench's side: starts the spawner and reads what it measured.
ChildRun runChild(const std::vector<std::string> &args)
{
    ChildRun run;
    int out[2];
    if (::pipe(out) != 0)
        return run;
    std::vector<std::string> spawner = {QCoreApplication::applicationFilePath().toStdString(),
                                        "--spawn"};
    spawner.insert(spawner.end(), args.begin(), args.end());
    std::vector<char *> storage;
    char *const *argv = argvOf(spawner, storage);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    ::close(out[0]);
    int status = 0;
    if (pid > 0)
        ::waitpid(pid, &status, 0);
    std::sscanf(text.c_str(), "%lf %ld %d", &run.seconds, &run.maxRssKiB, &run.status);
    return run;
}

// ---- the chart of the window, drawn as it shows ----

// Brings the window's chart up to date with the state and draws it at once.
void drawChart(Form1 &form)
{
    QCoreApplication::processEvents();
    form.chart1()->updateNow();
    form.chart1()->plot()->replot(QCustomPlot::rpImmediateRefresh);
}

// ---- the table of results ----

struct Row {
    QString figure;
    double seconds;
    QString note;
};

void printRows(int rows, qint64 fileBytes, const std::vector<Row> &results, double floor)
{
    std::printf("\n%d rows, %.1f MB\n", rows, double(fileBytes) / 1e6);
    std::printf("  %-40s %10s %9s  %s\n", "figure", "ms", "x floor", "");
    for (const Row &r : results) {
        std::printf("  %-40s %10.2f %9.2f  %s\n", qPrintable(r.figure), r.seconds * 1000,
                    floor > 0 ? r.seconds / floor : 0.0, qPrintable(r.note));
    }
    std::fflush(stdout);
}

void benchSize(int rows, int reps, const QString &folder, const QString &program)
{
    const QString path = QDir(folder).filePath(QStringLiteral("pull%1.csv").arg(rows));
    if (!writeFile(path, makeLog(rows))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return;
    }
    const qint64 fileBytes = QFileInfo(path).size();
    const int heavyReps = rows >= 500000 ? std::max(1, reps / 2) : reps;
    std::vector<Row> results;

    // Warm the page cache for everyone alike.
    floorParse(path);
    volatile double sink = 0;
    const double floor = best(reps, [&] { sink = sink + floorParse(path); });
    results.push_back({QStringLiteral("floor (read, split, from_chars)"), floor, QString()});

    const double reader = best(reps, [&] {
        const LogReadResult read = LogReader::read(path);
        sink = sink + read.log.table.rowCount();
    });
    results.push_back({QStringLiteral("reader (LogReader::read)"), reader, QString()});

    // Finding sessions: the look for a header line that every data line gets, alone, and the
    // reader on the same rows cut into two sessions, reading the second.
    {
        const std::string bytes = makeLog(rows);
        std::vector<std::string_view> lines;
        for (size_t at = 0; at < bytes.size();) {
            const size_t end = bytes.find("\r\n", at);
            lines.emplace_back(bytes.data() + at, end - at);
            at = end + 2;
        }
        // The look runs while the reader holds the line in its cache: it is timed over a piece
        // of the log that stays in the cache, often, and scaled to every data line.
        const size_t piece = std::min<size_t>(lines.size(), 10007);
        const int rounds = 100;
        const double look = best(reps, [&] {
            int headers = 0;
            for (int round = 0; round < rounds; ++round)
                for (size_t i = 7; i < piece; ++i)
                    headers += LogLayout::isHeaderLine(lines[i]);
            sink = sink + headers;
        }) / (double(rounds) * double(piece - 7)) * double(rows);
        results.push_back({QStringLiteral("header look, every data line (at most)"), look,
                           QStringLiteral("%1 % of the reader").arg(100 * look / reader, 0, 'f', 1)});

        const size_t half = bytes.find("\r\n,", bytes.size() / 2) + 2;
        const QString twoPath = QDir(folder).filePath(QStringLiteral("two%1.csv").arg(rows));
        writeFile(twoPath, bytes.substr(0, half) + bytes.substr(0, bytes.find("\r\n,") + 2) +
                               bytes.substr(half));
        const double second = best(reps, [&] {
            const LogReadResult read = LogReader::read(twoPath, 2);
            sink = sink + read.log.table.rowCount();
        });
        results.push_back({QStringLiteral("reader, session 2 of 2 (1 counted)"), second,
                           QString()});
        QFile::remove(twoPath);
    }

    // A loaded Diesel state: the four default series are drawn (in the model).
    AppState state;
    state.showMessage = [](const QString &, MessageKind) {};
    const double load = best(heavyReps, [&] { state.FormLoad(path); });
    results.push_back({QStringLiteral("load (FormLoad: read, 4 series, stats)"), load,
                       QStringLiteral("engine %1")
                           .arg(state.engine() == EngineType::Diesel ? "Diesel" : "not Diesel")});

    results.push_back({QStringLiteral("stats (CalcStats)"),
                       best(reps, [&] { state.CalcStats(); }), QString()});

    // The chart reads a series' values when they are first needed: asking for them is part of it.
    results.push_back({QStringLiteral("AddSeries (tick box 4, values made)"),
                       best(
                           reps,
                           [&] {
                               state.setBoxTicked(4, true);
                               sink = sink + state.chart.series(state.CurrentSlot).values.size();
                           },
                           [&] { state.setBoxTicked(4, false); }),
                       QString()});
    state.setBoxTicked(4, false);

    // 13 series of the log (every box but the time boxes 5 and 10) drawn at the chart's size.
    {
        AppState many;
        many.showMessage = [](const QString &, MessageKind) {};
        many.FormLoad(path);
        many.ResetChart();
        for (int k = 0; k < AppState::BoxCount; ++k)
            if (k != 5 && k != 10)
                many.setBoxTicked(k, true);
        ChartView view(&many.chart);
        view.resize(ChartSize);
        const auto first = Clock::now();
        view.updateNow();
        view.plot()->toPixmap(ChartSize.width(), ChartSize.height());
        const double firstDraw = seconds(first);
        results.push_back({QStringLiteral("first draw, 13 series (769x481)"), firstDraw,
                           QStringLiteral("%1 series").arg(many.chart.seriesCount())});
        results.push_back(
            {QStringLiteral("redraw, 13 series (769x481)"),
             best(reps, [&] { view.plot()->toPixmap(ChartSize.width(), ChartSize.height()); }),
             QString()});
    }

    // The power curve: boxes 1, 7 and 8 (speed, boost target, boost) and ChCV.
    {
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        for (int k : {1, 7, 8})
            state.setBoxTicked(k, true);
        results.push_back({QStringLiteral("power curve (ChCV, values made)"),
                           best(
                               reps,
                               [&] {
                                   state.setChCVTicked(true);
                                   sink = sink + state.chart.series(1).values.size() +
                                          state.chart.series(2).values.size();
                               },
                                [&] {
                                    state.setChCVTicked(false);
                                    for (int k : {1, 7, 8})
                                        state.setBoxTicked(k, true);
                                }),
                           QString()});
        state.setChCVTicked(false);
    }

    // The headless report, a process of its own.
    {
        ChildRun fastest;
        fastest.seconds = 1e30;
        for (int i = 0; i < heavyReps; ++i) {
            const ChildRun run = runChild({program.toStdString(), "--report", path.toStdString()});
            if (run.seconds < fastest.seconds)
                fastest = run;
        }
        const double rssBytes = double(fastest.maxRssKiB) * 1024;
        results.push_back({QStringLiteral("report (ondalyx --report)"), fastest.seconds,
                           QStringLiteral("peak %1 MB = %2 x file%3")
                               .arg(rssBytes / 1e6, 0, 'f', 1)
                               .arg(rssBytes / double(fileBytes), 0, 'f', 2)
                               .arg(fastest.status == 0 ? QString()
                                                        : QStringLiteral(", FAILED status %1")
                                                              .arg(fastest.status))});
        const QString image = QDir(folder).filePath(QStringLiteral("chart%1.png").arg(rows));
        const ChildRun chart = runChild(
            {program.toStdString(), "--report", "--chart", image.toStdString(), path.toStdString()});
        results.push_back({QStringLiteral("process start to a drawn chart"), chart.seconds,
                           QStringLiteral("ondalyx --report --chart (image of Chart1)")});
    }

    // The main window: start-up with the log, shown, until the four series are drawn.
    {
        double windowStart = 1e30;
        for (int i = 0; i < heavyReps; ++i) {
            const auto start = Clock::now();
            Form1 form;
            form.start(path);
            form.show();
            drawChart(form);
            windowStart = std::min(windowStart, seconds(start));
            if (i + 1 < heavyReps)
                continue;
            results.push_back({QStringLiteral("window start to 4 series drawn"), windowStart,
                               QStringLiteral("%1 series drawn")
                                   .arg(form.chart1()->plot()->graphCount())});

            AppState &s = form.state();
            const auto action = [&](const QString &name, const std::function<void()> &work,
                                    const std::function<void()> &prepare) {
                results.push_back({name, best(reps,
                                              [&] {
                                                  work();
                                                  drawChart(form);
                                              },
                                              [&] {
                                                  prepare();
                                                  drawChart(form);
                                              }),
                                   QStringLiteral("with the redraw")});
            };
            action(QStringLiteral("tick a box"), [&] { s.setBoxTicked(4, true); },
                   [&] { s.setBoxTicked(4, false); });
            action(QStringLiteral("untick a box"), [&] { s.setBoxTicked(4, false); },
                   [&] { s.setBoxTicked(4, true); });
            action(QStringLiteral("Borrar Grafica (ResetChart)"), [&] { s.ResetChart(); },
                   [&] {
                       for (int k : {2, 3, 7, 8})
                           s.setBoxTicked(k, true);
                   });
            for (int k : {2, 3, 7, 8})
                s.setBoxTicked(k, true);
            action(QStringLiteral("Borrar Linea (DeleteRow(1))"), [&] { s.DeleteRow(1); }, [] {});
            int shade = 0;
            action(QStringLiteral("colour change (ColorChosen)"),
                   [&] { s.ColorChosen(3, QColor(shade, 40, 200)); }, [&] { shade = (shade + 37) % 256; });
            form.close();
        }
    }

    printRows(rows, fileBytes, results, floor);
}

} // namespace

int main(int argc, char **argv)
{
    // The spawner (see runChild) does its work before any Qt is loaded up.
    if (argc > 2 && std::strcmp(argv[1], "--spawn") == 0)
        return spawnAndMeasure(std::vector<std::string>(argv + 2, argv + argc));

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int reps = 3;
    QList<int> sizes = {1000, 32767, 1000000};
    QString keep;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--reps") && i + 1 < args.size()) {
            reps = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString &n : args[++i].split(QLatin1Char(',')))
                sizes << n.toInt();
        } else if (args[i] == QLatin1String("--keep") && i + 1 < args.size()) {
            keep = args[++i];
        } else {
            std::fprintf(stderr, "usage: ondalyx_bench [--reps N] [--sizes A,B,...] [--keep DIR]\n");
            return 2;
        }
    }

    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(folder);
    const QString program = QStringLiteral(ONDALYX_PROGRAM);
    std::printf("ondalyx_bench: best of %d runs; %s; program %s\n", reps,
                qPrintable(QGuiApplication::platformName()), qPrintable(program));
    for (int rows : sizes)
        if (rows > 0)
            benchSize(rows, reps, folder, program);
    return 0;
}
