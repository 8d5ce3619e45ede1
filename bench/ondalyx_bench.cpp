// ondalyx_bench: how long Ondalyx takes on logs it writes itself (3,000, 32,767 and 1,000,000 rows
// by default), and what a big log's report holds in memory.
//
//   ondalyx_bench [--reps N] [--sizes 3000,32767,1000000] [--keep DIR]
//
// Every figure is the median of N rounds (9 unless told), and the rounds are interleaved: each
// round takes every figure of a log once, floors included, so that the drift of a shared machine
// reaches them all alike (the whole processes in rounds of their own, run first; a first round
// of each is not counted). Each figure is also given as a multiple of a floor of the same rounds:
//
//   parse    a minimal parse of the same file: read it in 1 MiB pieces, split every data line at
//            ",", convert every field with std::from_chars (the floor of a big log's figures);
//   window   a minimal Qt program showing one window, Form1's size, that holds an empty
//            QCustomPlot: process start to that window drawn (the floor of start-up).
//
// The program's start-up is timed as a whole process too: the window probe runs the program's own
// window run (gui/WindowRun) and ends, as the minimal program does, once its main window has been
// drawn for the first time (FirstPaint.h), once as the program starts ("Datos" in front) and once
// with the "Grafica" tab brought to the front before that drawing, which then holds the chart.
// Both run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
// The logs are diesel pulls in the classic layout (groups '003, '011 and '020), CR LF line ends,
// numbers with "." decimals.

#include "core/Analysis.h"
#include "core/ChartModel.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"
#include "core/PowerOfPulls.h"
#include "core/Stats.h"
#include "core/Vehicle.h"
#include "gui/AnalysisChart.h"
#include "gui/AnalysisTab.h"
#include "gui/ChartView.h"
#include "gui/Form1.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "program/AppState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <qcustomplot.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Seconds taken by `work`.
double timed(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return seconds(start);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// ---- the logs ----

// The header block of the bench's logs: groups '003, '011 and '020, units on line 6.
std::string logHeader()
{
    std::string out;
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
    return out;
}

// One data line of the bench's logs at time t, engine speed `speed`, boost target and actual.
void appendRow(std::string &out, int r, double t, int phase, double speed, double target,
               double actual)
{
    char line[256];
    const double egr = std::max(0.0, 290.0 - phase * 0.9);
    const int n = std::snprintf(
        line, sizeof line,
        ",%.2f,%.0f,%.0f,%.1f,%.1f,%.1f,%.0f,%.0f,%.0f,%.1f,%.1f,%.2f,%.0f,%.1f,%.1f\r\n", t, speed,
        290.0, egr, 63.0 + (r % 7) * 0.3, t + 0.07, speed - 7, target, actual,
        39.1 + (phase % 50) * 0.9, t + 0.16, 12.44 + (phase % 31) * 0.5, 150.0 + phase * 0.8,
        20.19 + (phase % 13) * 0.7, 41.5 + (r % 5) * 0.1);
    out.append(line, size_t(n));
}

// A diesel pull: the engine speed climbs from 900 to 4500 rpm over 400 rows and starts again;
// the boost target leads the actual boost, which overshoots a little at the top. (At about
// 40 rpm/s this is too slow a climb for the analysis to call it a pull.)
std::string makeLog(int rows)
{
    std::string out = logHeader();
    out.reserve(size_t(rows) * 90 + 1024);
    for (int r = 0; r < rows; ++r) {
        const double t = 0.10 + r * 0.23;
        const int phase = r % 400;
        appendRow(out, r, t, phase, 900 + phase * 9.0, std::min(2450.0, 1000 + phase * 4.2),
                  std::min(2480.0, 960 + std::max(0, phase - 12) * 4.4));
    }
    return out;
}

// Pulls for the "Análisis" tab, three rows a second: every 100 rows the engine speed climbs from
// 1,000 to 4,315 rpm over 40 rows (about 260 rpm/s, a pull) and then cruises at about 2,000 rpm.
std::string makePullLog(int rows)
{
    std::string out = logHeader();
    out.reserve(size_t(rows) * 90 + 1024);
    for (int r = 0; r < rows; ++r) {
        const double t = 0.10 + r * 0.33;
        const int phase = r % 100;
        const bool pull = phase < 40;
        const double speed = pull ? 1000 + phase * 85.0 : 2000 + (r % 9) * 7.0;
        const double target = pull ? std::min(2450.0, 1000 + phase * 60.0) : 1100;
        const double actual = pull ? std::min(2480.0, 960 + std::max(0, phase - 3) * 62.0) : 1090;
        appendRow(out, r, t, phase, speed, target, actual);
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

// ---- the parse floor: read the file, split every data line at ",", convert every field ----

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

// ---- programs as whole processes: wall time, first drawing, peak memory ----
//
// A process's peak memory (ru_maxrss) includes the memory of the process it was forked from, as
// it stood when the child ran exec: a child of this bench, which holds a million-row log, would
// report the bench's size. So the bench starts itself again as a small "spawner" first (a process
// forked from the fresh spawner starts small), and the spawner runs the program and writes what
// it measured to its standard output. A window program writes "drawn NANOSECONDS" (the steady
// clock, shared by every process) when its window has been drawn; the spawner gives that as
// seconds since it started the program.

struct ChildRun {
    double seconds = 0;      // start to exit
    double drawnSeconds = 0; // start to the first drawing, 0 when the program wrote none
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

long long nanoseconds(Clock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

// The spawner's side: runs args, writes "seconds drawn maxrss status" to stdout.
int spawnAndMeasure(const std::vector<std::string> &args)
{
    std::vector<char *> storage;
    char *const *argv = argvOf(args, storage);
    int out[2];
    if (::pipe(out) != 0)
        return 1;
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(out[0]);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    ::close(out[1]);
    if (pid < 0)
        return 1;
    // The program's output is read as it comes (a report writes a few kilobytes).
    std::string text;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0 && text.size() < 4096)
            text.append(buffer, size_t(std::min<ssize_t>(n, 4096)));
    }
    ::close(out[0]);
    struct rusage usage;
    int status = 0;
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const double wall = seconds(start);
    double drawn = 0;
    if (const size_t at = text.find("drawn "); at != std::string::npos)
        drawn = double(std::atoll(text.c_str() + at + 6) - nanoseconds(start)) / 1e9;
    std::printf("%.6f %.6f %ld %d\n", wall, drawn, usage.ru_maxrss, status);
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
    std::sscanf(text.c_str(), "%lf %lf %ld %d", &run.seconds, &run.drawnSeconds, &run.maxRssKiB,
                &run.status);
    return run;
}

// ---- the windows, drawn as they show ----

// Lets the event loop run what is waiting (queued drawings included).
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// What the user sees after an action, brought up to date and drawn: the window as it shows, and
// the chart, also while its tab is at the back (as it will show when its tab is brought forward),
// drawn as the chart draws itself once control returns to the event loop.
void redraw(Form1 &form)
{
    settle();
    form.repaint();
    form.chart1()->updateNow();
    settle();
}

QTabWidget *tabs(Form1 &form)
{
    return form.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
}

AnalysisTab *analysisTab(Form1 &form)
{
    return form.findChild<AnalysisTab *>(QStringLiteral("Analisis"));
}

template <class W> W *topLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<W *>(window))
            return found;
    return nullptr;
}

void tickOnly(AppState &state, std::initializer_list<int> boxes)
{
    for (int k = 0; k < AppState::BoxCount; ++k)
        if (std::find(boxes.begin(), boxes.end(), k) == boxes.end())
            state.setBoxTicked(k, false);
    for (int k : boxes)
        state.setBoxTicked(k, true);
}

// ---- the table of results ----

enum class Floor { None, Parse, Window };

struct Figure {
    QString name;
    Floor floor;
    QString note;
    std::vector<double> samples; // seconds, one per round
};

class Figures {
public:
    int add(const QString &name, Floor floor, const QString &note = QString())
    {
        m_figures.push_back({name, floor, note, {}});
        return int(m_figures.size()) - 1;
    }
    void record(int figure, double seconds)
    {
        if (m_counting)
            m_figures[size_t(figure)].samples.push_back(seconds);
    }
    // A round that is not counted runs first (the programs' files into the page cache, the
    // first use of this process's caches).
    void setCounting(bool counting) { m_counting = counting; }
    bool counting() const { return m_counting; }
    void setNote(int figure, const QString &note) { m_figures[size_t(figure)].note = note; }
    double medianOf(int figure) const { return median(m_figures[size_t(figure)].samples); }
    const std::vector<Figure> &all() const { return m_figures; }

private:
    std::vector<Figure> m_figures;
    bool m_counting = true;
};

struct Targets {
    double startupSmall = 0;   // start to main window drawn, 3,000 rows, x minimal window
    double startupBig = 0;     // the same, 1,000,000 rows, x parse floor
    double reportBig = 0;      // --report, 1,000,000 rows, x parse floor
    double memoryBig = 0;      // peak memory of that report, x file size
    double chartStartBig = 0;  // start to the chart drawn, "Grafica" in front, x parse floor
    double chartMemoryBig = 0; // peak memory of that start, x file size
    double firstDrawBig = 0;   // 13 series: first draw of a new view, x parse floor
    double slowestAction = 0;  // ms, the slowest user action on 1,000,000 rows
    QString slowestName;
    double analysisBig = 0;   // ms, the analysis of 1,000,000 rows
    double pullsPowerBig = 0; // ms, the power of every pull of 1,000,000 rows
};

void printFigures(int rows, qint64 fileBytes, int reps, const Figures &figures, int parseFloor,
                  int windowFloor)
{
    const double parse = figures.medianOf(parseFloor);
    const double window = figures.medianOf(windowFloor);
    std::printf("\n%d rows, %.2f MB; medians of %d interleaved rounds; floors: parse %.2f ms, "
                "minimal window %.1f ms\n",
                rows, double(fileBytes) / 1e6, reps, parse * 1000, window * 1000);
    std::printf("  %-52s %10s %8s %8s  %s\n", "figure", "ms", "x parse", "x window", "");
    for (const Figure &f : figures.all()) {
        const double value = median(f.samples);
        QString ofParse, ofWindow;
        if (f.floor == Floor::Parse || (f.floor == Floor::Window && rows >= 500000))
            ofParse = QString::number(value / parse, 'f', 2);
        if (f.floor == Floor::Window)
            ofWindow = QString::number(value / window, 'f', 2);
        std::printf("  %-52s %10.2f %8s %8s  %s\n", qPrintable(f.name), value * 1000,
                    qPrintable(ofParse), qPrintable(ofWindow), qPrintable(f.note));
    }
    std::fflush(stdout);
}

struct Programs {
    QString ondalyx;
    QString probe;
    QString minimal;
    QSize windowSize;
};

void benchSize(int rows, int reps, const QString &folder, const Programs &programs,
               Targets &targets)
{
    const QString path = QDir(folder).filePath(QStringLiteral("pull%1.csv").arg(rows));
    const std::string bytes = makeLog(rows);
    if (!writeFile(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return;
    }
    const qint64 fileBytes = qint64(bytes.size());
    const std::string file = path.toStdString();
    volatile double sink = 0;
    Figures figures;
    // The steps of one round, in order: first the rounds of whole processes, then those in this
    // process. The processes run before this process takes a big log's memory: memory taken and
    // given back by hundreds of megabytes makes the next process's first use of memory slower
    // on some machines (a virtual machine that returns freed memory to its host), which a
    // process started by a user does not meet. The parse floor is taken in both.
    std::vector<std::function<void()>> round;

    // ---- floors ----
    const int parseFloor =
        figures.add(QStringLiteral("parse floor (read, split, from_chars)"), Floor::Parse);
    const auto parseStep = [&, parseFloor] {
        figures.record(parseFloor, timed([&] { sink = sink + floorParse(path); }));
    };
    round.push_back(parseStep);
    const int windowFloor =
        figures.add(QStringLiteral("minimal Qt window: start to drawn (process)"), Floor::Window,
                    QStringLiteral("one window, an empty QCustomPlot"));
    const std::vector<std::string> minimalArgs = {programs.minimal.toStdString(),
                                                  std::to_string(programs.windowSize.width()),
                                                  std::to_string(programs.windowSize.height())};
    round.push_back([&, windowFloor] {
        const ChildRun run = runChild(minimalArgs);
        figures.record(windowFloor, run.drawnSeconds);
    });

    // ---- the program as whole processes ----
    const int windowStart =
        figures.add(QStringLiteral("ondalyx: start to main window drawn (process)"), Floor::Window);
    round.push_back([&, windowStart] {
        const ChildRun run = runChild({programs.probe.toStdString(), file});
        figures.record(windowStart, run.drawnSeconds);
        figures.setNote(windowStart,
                        QStringLiteral("peak %1 MB%2")
                            .arg(double(run.maxRssKiB) * 1024 / 1e6, 0, 'f', 1)
                            .arg(run.drawnSeconds > 0 ? QString() : QStringLiteral(", NOT DRAWN")));
    });
    // The same with the "Grafica" tab in front, so that the first drawing holds the chart.
    const int chartStart = figures.add(
        QStringLiteral("ondalyx, Grafica in front: start to chart drawn"), Floor::Window);
    auto chartMemory = std::make_shared<std::vector<double>>();
    round.push_back([&, chartStart, chartMemory] {
        const ChildRun run = runChild({programs.probe.toStdString(), "--grafica", file});
        figures.record(chartStart, run.drawnSeconds);
        if (figures.counting())
            chartMemory->push_back(double(run.maxRssKiB) * 1024);
        const double peak = median(*chartMemory);
        figures.setNote(chartStart,
                        QStringLiteral("peak %1 MB = %2 x file%3")
                            .arg(peak / 1e6, 0, 'f', 1)
                            .arg(peak / double(fileBytes), 0, 'f', 2)
                            .arg(run.drawnSeconds > 0 ? QString() : QStringLiteral(", NOT DRAWN")));
    });
    const int report = figures.add(QStringLiteral("ondalyx --report (process)"), Floor::Parse);
    auto reportMemory = std::make_shared<std::vector<double>>();
    round.push_back([&, report, reportMemory] {
        const ChildRun run = runChild({programs.ondalyx.toStdString(), "--report", file});
        figures.record(report, run.seconds);
        if (figures.counting())
            reportMemory->push_back(double(run.maxRssKiB) * 1024);
        const double peak = median(*reportMemory);
        figures.setNote(report,
                        QStringLiteral("peak %1 MB = %2 x file%3")
                            .arg(peak / 1e6, 0, 'f', 1)
                            .arg(peak / double(fileBytes), 0, 'f', 2)
                            .arg(run.status == 0
                                     ? QString()
                                     : QStringLiteral(", FAILED status %1").arg(run.status)));
    });
    const int reportChart =
        figures.add(QStringLiteral("ondalyx --report --chart (process)"), Floor::Parse,
                    QStringLiteral("start to a drawn chart image"));
    const std::string image =
        QDir(folder).filePath(QStringLiteral("chart%1.png").arg(rows)).toStdString();
    round.push_back([&, reportChart] {
        const ChildRun run =
            runChild({programs.ondalyx.toStdString(), "--report", "--chart", image, file});
        figures.record(reportChart, run.seconds);
    });
    const auto runRounds = [&] {
        for (int r = -1; r < reps; ++r) {
            figures.setCounting(r >= 0);
            for (const auto &step : round)
                step();
        }
    };
    runRounds();
    round.clear();
    round.push_back(parseStep);

    // ---- the core and the program's state, in this process ----
    const int reader = figures.add(QStringLiteral("reader (LogReader::read)"), Floor::Parse);
    round.push_back([&, reader] {
        figures.record(reader, timed([&] {
                           const LogReadResult read = LogReader::read(path);
                           sink = sink + read.log.table.rowCount();
                       }));
    });

    // Finding sessions: the look for a header line that every data line gets, alone (timed over a
    // piece of the log that stays in the cache, as the reader holds the line in its cache, and
    // scaled to every data line), and the reader on the same rows cut into two sessions.
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        lines.emplace_back(bytes.data() + at, end - at);
        at = end + 2;
    }
    const int look =
        figures.add(QStringLiteral("header look, every data line (at most)"), Floor::Parse);
    round.push_back([&, look] {
        const size_t piece = std::min<size_t>(lines.size(), 10007);
        const int rounds = 20;
        int headers = 0;
        const double t = timed([&] {
            for (int r = 0; r < rounds; ++r)
                for (size_t i = 7; i < piece; ++i)
                    headers += LogLayout::isHeaderLine(lines[i]);
        });
        sink = sink + headers;
        figures.record(look, t / (double(rounds) * double(piece - 7)) * double(rows));
    });
    const size_t half = bytes.find("\r\n,", bytes.size() / 2) + 2;
    const QString twoPath = QDir(folder).filePath(QStringLiteral("two%1.csv").arg(rows));
    writeFile(twoPath, bytes.substr(0, half) + bytes.substr(0, bytes.find("\r\n,") + 2) +
                           bytes.substr(half));
    const int second =
        figures.add(QStringLiteral("reader, session 2 of 2 (1 counted)"), Floor::Parse);
    round.push_back([&, second] {
        figures.record(second, timed([&] {
                           const LogReadResult read = LogReader::read(twoPath, 2);
                           sink = sink + read.log.table.rowCount();
                       }));
    });

    // A loaded diesel state: the four default series are set (their values are read when drawn).
    AppState state;
    state.showMessage = [](const QString &, MessageKind) {};
    const int load =
        figures.add(QStringLiteral("load (FormLoad: read, 4 series, statistics)"), Floor::Parse);
    round.push_back([&, load] {
        figures.record(load, timed([&] { state.FormLoad(path); }));
        figures.setNote(load, state.engine() == EngineType::Diesel ? QStringLiteral("Diesel")
                                                                   : QStringLiteral("NOT DIESEL"));
    });
    const int stats =
        figures.add(QStringLiteral("statistics (Stats::Compute, cells read)"), Floor::Parse);
    round.push_back([&, stats] {
        figures.record(stats,
                       timed([&] { sink = sink + Stats::Compute(state.table).maxPico.size(); }));
    });
    // The analysis of the "Análisis" tab on a table just read, so that the cells it needs are read
    // too: units and names from lines 5-7, the engine speed, pulls and the reason of every other
    // row, the pairs and their bins. This log's speed climbs at about 40 rpm/s, too slowly for a
    // pull: every row is listed with its reason and the bins take every row.
    const int analysis =
        figures.add(QStringLiteral("analysis (units, pulls, reasons, pairs)"), Floor::Parse);
    round.push_back([&, analysis] {
        const LogReadResult read = LogReader::read(path);
        Analysis::Result result;
        figures.record(analysis, timed([&] {
                           result = Analysis::compute(read.log.table, read.log.slotTimes,
                                                      read.log.columnLines, read.log.newerLayout);
                       }));
        int leftOut = 0;
        for (int n : result.leftOutCount)
            leftOut += n;
        figures.setNote(analysis, QStringLiteral("%1 pulls, %2 rows left out, %3 pairs")
                                      .arg(result.pulls.size())
                                      .arg(leftOut)
                                      .arg(result.pairs.size()));
    });
    // The power of every pull, on a log of as many rows with a pull every 100 rows, its analysis
    // made beforehand (the engine speed and its time stamps read).
    const QString pullsPath = QDir(folder).filePath(QStringLiteral("pulls%1.csv").arg(rows));
    writeFile(pullsPath, makePullLog(rows));
    const LogReadResult pullsRead = LogReader::read(pullsPath);
    const LogFile &pullsLog = pullsRead.log;
    const Analysis::Result pullsAnalysis = Analysis::compute(
        pullsLog.table, pullsLog.slotTimes, pullsLog.columnLines, pullsLog.newerLayout);
    const int pullsPower = figures.add(QStringLiteral("power of every pull"), Floor::Parse);
    round.push_back([&, pullsPower] {
        std::vector<PullPower::Result> power;
        figures.record(pullsPower, timed([&] {
                           power = PowerOfPulls::compute(pullsLog.table, pullsLog.slotTimes,
                                                         pullsLog.newerLayout, pullsAnalysis,
                                                         Vehicle());
                       }));
        const auto curves = std::count_if(power.begin(), power.end(), [](const auto &p) {
            return p.outcome == PullPower::Result::Curve;
        });
        figures.setNote(pullsPower,
                        QStringLiteral("%1 pulls, %2 with a curve").arg(power.size()).arg(curves));
    });
    // A second log to compare with, the same file as the loaded one: read, analysed, the power of
    // its pulls (this log has none), beside the loaded log.
    const int comparison =
        figures.add(QStringLiteral("comparison log opened (read, analysis, power)"), Floor::Parse);
    round.push_back([&, comparison] {
        QString error;
        figures.record(comparison, timed([&] { state.comparison.open(path, 1, error); }));
        sink = sink + state.comparison.log().table.rowCount();
        state.comparison.clear();
    });

    // The chart reads a series' numbers in the table when they are first needed: asking for them
    // is part of it.
    const int addSeries =
        figures.add(QStringLiteral("AddSeries (tick box 4, numbers read)"), Floor::Parse);
    round.push_back([&, addSeries] {
        state.setBoxTicked(4, false);
        figures.record(addSeries, timed([&] {
                           state.setBoxTicked(4, true);
                           sink = sink + state.chart.values(state.CurrentSlot).count;
                       }));
        state.setBoxTicked(4, false);
    });
    // The power curve: boxes 1, 7 and 8 (speed, boost target, boost) and ChCV.
    const int power = figures.add(QStringLiteral("power curve (ChCV, values made)"), Floor::Parse);
    round.push_back([&, power] {
        state.setChCVTicked(false);
        tickOnly(state, {1, 7, 8});
        figures.record(power, timed([&] {
                           state.setChCVTicked(true);
                           sink = sink + state.chart.values(1).count + state.chart.values(2).count;
                       }));
        state.setChCVTicked(false);
    });

    // 13 series of the log (every box but the time boxes 5 and 10) in a new chart view, drawn at
    // the chart's size: the view's first drawing (the cells' numbers read, the plot laid out) and
    // a drawing again, one row fewer in view (a drawing of the same rows keeps its points).
    const int firstDraw = figures.add(QStringLiteral("13 series: first draw of a new view"),
                                      Floor::Parse, QStringLiteral("769 x 481"));
    const int redrawMany =
        figures.add(QStringLiteral("13 series: redraw, one row fewer"), Floor::Parse);
    round.push_back([&, firstDraw, redrawMany] {
        const QSize size = Form1::chartSize();
        AppState many;
        many.showMessage = [](const QString &, MessageKind) {};
        many.FormLoad(path);
        many.ResetChart();
        for (int k = 0; k < AppState::BoxCount; ++k)
            if (k != 5 && k != 10)
                many.setBoxTicked(k, true);
        ChartView view(&many.chart);
        view.resize(size);
        figures.record(firstDraw, timed([&] {
                           view.updateNow();
                           view.plot()->toPixmap(size.width(), size.height());
                       }));
        figures.record(redrawMany, timed([&] {
                           view.plot()->xAxis->setRange(1.5, rows + 0.5);
                           view.plot()->toPixmap(size.width(), size.height());
                       }));
        figures.setNote(redrawMany, QStringLiteral("%1 series").arg(many.chart.seriesCount()));
    });

    // ---- the main window in this process ----
    const int windowIn =
        figures.add(QStringLiteral("window in-process: start to 4 series drawn"), Floor::Parse);
    round.push_back([&, windowIn] {
        int drawn = 0;
        figures.record(windowIn, timed([&] {
                           Form1 form;
                           form.start(path);
                           form.show();
                           redraw(form);
                           drawn = form.chart1()->plot()->graphCount();
                       }));
        figures.setNote(windowIn, QStringLiteral("%1 series drawn").arg(drawn));
    });

    // The user's actions on a shown window with the log, each with what it changes drawn: the
    // window, and the chart as it will show (see redraw()).
    auto form = std::make_shared<Form1>();
    form->state().showMessage = [](const QString &, MessageKind) {};
    form->start(path);
    form->show();
    redraw(*form);
    AppState &s = form->state();
    std::vector<int> actions; // the figures of the user's actions
    const auto action = [&](const QString &name, std::function<void()> prepare,
                            std::function<void()> work) {
        const int figure = figures.add(name, Floor::Parse, QStringLiteral("with the redraw"));
        actions.push_back(figure);
        round.push_back([&, figure, prepare, work] {
            prepare();
            redraw(*form);
            figures.record(figure, timed([&] {
                               work();
                               redraw(*form);
                           }));
        });
    };
    action(
        QStringLiteral("tick a box"), [&] { s.setBoxTicked(4, false); },
        [&] { s.setBoxTicked(4, true); });
    action(
        QStringLiteral("untick a box"), [&] { s.setBoxTicked(4, true); },
        [&] { s.setBoxTicked(4, false); });
    action(
        QStringLiteral("colour change (ColorChosen)"),
        [&] {
            tickOnly(s, {2, 3, 7, 8});
        },
        [&, shade = 0]() mutable {
            shade = (shade + 37) % 256;
            s.ColorChosen(3, QColor(shade, 40, 200));
        });
    action(
        QStringLiteral("Borrar Grafica (ResetChart)"),
        [&] {
            tickOnly(s, {2, 3, 7, 8});
        },
        [&] { s.ResetChart(); });
    action(
        QStringLiteral("Borrar Linea (DeleteRow(1))"),
        [&] {
            tickOnly(s, {2, 3, 7, 8});
        },
        [&] { s.DeleteRow(1); });
    action(
        QStringLiteral("power curve (ChCV on boxes 1, 7, 8)"),
        [&] {
            s.setChCVTicked(false);
            tickOnly(s, {1, 7, 8});
        },
        [&] { s.setChCVTicked(true); });
    action(
        QStringLiteral("Pantalla Completa (full-screen chart)"),
        [&] {
            s.setChCVTicked(false);
            tickOnly(s, {2, 3, 7, 8});
        },
        [&] {
            form->findChild<QPushButton *>(QStringLiteral("CmdFull"))->click();
            settle();
            if (Form3 *full = topLevel<Form3>())
                full->repaint();
        });
    action(
        QStringLiteral("Pantalla  FULL (full-screen table)"),
        [&] {
            tickOnly(s, {2, 3, 7, 8});
        },
        [&] {
            form->findChild<QPushButton *>(QStringLiteral("CmdFullList"))->click();
            settle();
            if (Form4 *full = topLevel<Form4>())
                full->repaint();
        });
    // Bringing the "Grafica" tab forward after a change made on "Datos": the chart catches up.
    const int grafica = figures.add(QStringLiteral("Grafica tab brought forward, chart drawn"),
                                    Floor::Parse, QStringLiteral("after a tick on Datos"));
    actions.push_back(grafica);
    round.push_back([&, grafica] {
        tabs(*form)->setCurrentIndex(1);
        tickOnly(s, {2, 3, 7, 8});
        redraw(*form);
        s.setBoxTicked(4, true);
        settle();
        figures.record(grafica, timed([&] {
                           tabs(*form)->setCurrentIndex(0);
                           settle();
                           form->repaint();
                       }));
        tabs(*form)->setCurrentIndex(1);
        s.setBoxTicked(4, false);
    });
    // Zooming and panning the chart with the mouse, the "Grafica" tab in front: each drawing
    // reads the rows in view again. A wheel notch into the whole log, and a drag of 100 pixels
    // across half of it.
    const auto chartPlot = [&] { return form->chart1()->plot(); };
    const auto chartCentre = [&] { return QPointF(chartPlot()->axisRect()->rect().center()); };
    action(
        QStringLiteral("zoom (a wheel notch on the chart)"),
        [&] {
            tabs(*form)->setCurrentIndex(0);
            tickOnly(s, {2, 3, 7, 8});
            redraw(*form);
            chartPlot()->xAxis->setRange(0.5, rows + 0.5);
        },
        [&] {
            const QPointF at = chartCentre();
            QWheelEvent wheel(at, chartPlot()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(chartPlot(), &wheel);
        });
    action(
        QStringLiteral("pan (a drag on the chart)"),
        [&] {
            tabs(*form)->setCurrentIndex(0);
            tickOnly(s, {2, 3, 7, 8});
            redraw(*form);
            chartPlot()->xAxis->setRange(rows * 0.25, rows * 0.75);
        },
        [&] {
            const QPointF from = chartCentre();
            const QPointF to = from - QPointF(100, 0);
            const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
                QMouseEvent event(type, at, chartPlot()->mapToGlobal(at), Qt::LeftButton, buttons,
                                  Qt::NoModifier);
                QApplication::sendEvent(chartPlot(), &event);
            };
            send(QEvent::MouseButtonPress, from, Qt::LeftButton);
            send(QEvent::MouseMove, to, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, to, Qt::NoButton);
        });
    round.push_back([&] { tabs(*form)->setCurrentIndex(1); }); // as the other actions found it

    // ---- the "Análisis" tab, on a log of pulls ----
    const QString pullPath = QDir(folder).filePath(QStringLiteral("pulls%1.csv").arg(rows));
    writeFile(pullPath, makePullLog(rows));
    // The tab brought forward for the first time in a new window that holds the log: the
    // analysis, the lists and tables filled and the chart drawn.
    const int tabShown = figures.add(QStringLiteral("Análisis: tab first shown"), Floor::Parse,
                                     QStringLiteral("analysis and drawing"));
    actions.push_back(tabShown);
    round.push_back([&, tabShown] {
        Form1 fresh;
        fresh.state().showMessage = [](const QString &, MessageKind) {};
        fresh.start(pullPath);
        fresh.show();
        redraw(fresh);
        figures.record(tabShown, timed([&] {
                           tabs(fresh)->setCurrentIndex(3);
                           settle();
                           fresh.repaint();
                       }));
        if (const AnalysisLog *log = analysisTab(fresh)->log())
            figures.setNote(tabShown, QStringLiteral("%1 pulls, %2 series drawn")
                                          .arg(log->result().pulls.size())
                                          .arg(analysisTab(fresh)->chart()->curves().size()));
    });
    auto tabForm = std::make_shared<Form1>();
    tabForm->state().showMessage = [](const QString &, MessageKind) {};
    tabForm->start(pullPath);
    tabForm->show();
    tabs(*tabForm)->setCurrentIndex(3);
    redraw(*tabForm);
    auto *axis = tabForm->findChild<QComboBox *>(QStringLiteral("EjeX"));
    auto *pullList = tabForm->findChild<QListView *>(QStringLiteral("Tirones"));
    auto *onlyPulls = tabForm->findChild<QCheckBox *>(QStringLiteral("SoloTirones"));
    QAbstractItemModel *series =
        tabForm->findChild<QListView *>(QStringLiteral("SeriesAnalisis"))->model();
    const auto choosePull = [pullList](int row) {
        pullList->setCurrentIndex(pullList->model()->index(row, 0));
    };
    const auto tickSeries = [series](int row, bool ticked) {
        series->setData(series->index(row, 0), ticked ? Qt::Checked : Qt::Unchecked,
                        Qt::CheckStateRole);
    };
    const auto tabPlot = [&] { return analysisTab(*tabForm)->chart()->plot(); };
    const auto tabAction = [&](const QString &name, std::function<void()> prepare,
                               std::function<void()> work) {
        const int figure = figures.add(name, Floor::Parse, QStringLiteral("with the redraw"));
        actions.push_back(figure);
        round.push_back([&, figure, prepare, work] {
            prepare();
            redraw(*tabForm);
            figures.record(figure, timed([&] {
                               work();
                               redraw(*tabForm);
                           }));
        });
    };
    // The series of the log's first pair are ticked, as the tab starts.
    tabAction(
        QStringLiteral("Análisis: x axis to Régimen (rpm), Todos"),
        [&] {
            choosePull(0);
            axis->setCurrentIndex(1);
        },
        [&] { axis->setCurrentIndex(0); });
    tabAction(
        QStringLiteral("Análisis: x axis to Tiempo (s), Todos"),
        [&] {
            choosePull(0);
            axis->setCurrentIndex(0);
        },
        [&] { axis->setCurrentIndex(1); });
    tabAction(
        QStringLiteral("Análisis: a pull chosen (Régimen)"),
        [&] {
            axis->setCurrentIndex(0);
            choosePull(0);
        },
        [&] { choosePull(pullList->model()->rowCount() / 2); });
    tabAction(
        QStringLiteral("Análisis: Todos chosen again (Régimen)"),
        [&] {
            axis->setCurrentIndex(0);
            choosePull(pullList->model()->rowCount() / 2);
        },
        [&] { choosePull(0); });
    tabAction(
        QStringLiteral("Análisis: tick a series (Régimen, Todos)"),
        [&] {
            axis->setCurrentIndex(0);
            choosePull(0);
            tickSeries(7, false);
        },
        [&] { tickSeries(7, true); });
    tabAction(
        QStringLiteral("Análisis: Solo tirones unticked (bins again)"),
        [&] {
            if (!onlyPulls->isChecked())
                onlyPulls->click();
        },
        [&] { onlyPulls->click(); });
    tabAction(
        QStringLiteral("Análisis: read-out (the mouse over the chart)"),
        [&] {
            tickSeries(7, false);
            axis->setCurrentIndex(0);
            choosePull(0);
        },
        [&, step = 0]() mutable {
            const QPointF at =
                QPointF(tabPlot()->axisRect()->rect().center()) + QPointF(++step % 2 ? 5 : -5, 0);
            QMouseEvent move(QEvent::MouseMove, at, tabPlot()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(tabPlot(), &move);
        });
    tabAction(
        QStringLiteral("Análisis: zoom (a wheel notch, Régimen, Todos)"),
        [&] {
            axis->setCurrentIndex(0);
            choosePull(0);
            analysisTab(*tabForm)->chart()->showAll();
        },
        [&] {
            const QPointF at(tabPlot()->axisRect()->rect().center());
            QWheelEvent wheel(at, tabPlot()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(tabPlot(), &wheel);
        });

    // ---- a second log on the "Análisis" tab ----
    // A window that holds the log of pulls with the tab in front, the same file opened in it again
    // as the main log ("Abrir CSV") or as the second log ("Comparar con…"): read, analysed, the
    // power of its pulls, drawn (the second with the first log's). Both start from the same state
    // and hold two such logs at their peak.
    const int mainOpened =
        figures.add(QStringLiteral("Análisis: log opened again as the main log, tab in front"),
                    Floor::Parse, QStringLiteral("read, series, statistics, analysis, power"));
    round.push_back([&, mainOpened] {
        Form1 fresh;
        fresh.state().showMessage = [](const QString &, MessageKind) {};
        fresh.start(pullPath);
        fresh.show();
        tabs(fresh)->setCurrentIndex(3);
        redraw(fresh);
        figures.record(mainOpened, timed([&] {
                           fresh.openFile(pullPath);
                           settle();
                           fresh.repaint();
                       }));
    });
    const int secondOpened =
        figures.add(QStringLiteral("Análisis: the same log opened as the second log"), Floor::Parse,
                    QStringLiteral("read, analysis, power, drawn beside"));
    round.push_back([&, secondOpened] {
        Form1 fresh;
        fresh.state().showMessage = [](const QString &, MessageKind) {};
        fresh.start(pullPath);
        fresh.show();
        tabs(fresh)->setCurrentIndex(3);
        redraw(fresh);
        analysisTab(fresh)->setFileChooser([&] { return pullPath; });
        auto *compare = fresh.findChild<QPushButton *>(QStringLiteral("CompararCon"));
        figures.record(secondOpened, timed([&] {
                           compare->click();
                           settle();
                           fresh.repaint();
                       }));
        if (const AnalysisLog *second = analysisTab(fresh)->comparison())
            figures.setNote(secondOpened, QStringLiteral("%1 pulls, %2 curves drawn")
                                              .arg(second->result().pulls.size())
                                              .arg(analysisTab(fresh)->chart()->curves().size()));
    });

    // The user's actions with both logs shown, as the tab starts (the first pair of each), each
    // drawn for both logs; then with the power of the pulls of both drawn too.
    auto pairForm = std::make_shared<Form1>();
    pairForm->state().showMessage = [](const QString &, MessageKind) {};
    pairForm->start(pullPath);
    pairForm->show();
    tabs(*pairForm)->setCurrentIndex(3);
    redraw(*pairForm);
    AnalysisTab *pairTab = analysisTab(*pairForm);
    pairTab->setFileChooser([&] { return pullPath; });
    pairForm->findChild<QPushButton *>(QStringLiteral("CompararCon"))->click();
    QAbstractItemModel *pairSeries =
        pairForm->findChild<QListView *>(QStringLiteral("SeriesAnalisis"))->model();
    const auto tickPower = [pairSeries](bool ticked) {
        for (int row : {0, 1}) // "Potencia [CV]", "Par [Nm]"
            pairSeries->setData(pairSeries->index(row, 0), ticked ? Qt::Checked : Qt::Unchecked,
                                Qt::CheckStateRole);
    };
    redraw(*pairForm);
    auto *pairAxis = pairForm->findChild<QComboBox *>(QStringLiteral("EjeX"));
    auto *pairPulls = pairForm->findChild<QListView *>(QStringLiteral("Tirones"));
    auto *pairOnlyPulls = pairForm->findChild<QCheckBox *>(QStringLiteral("SoloTirones"));
    const auto pairPlot = [pairTab] { return pairTab->chart()->plot(); };
    // "Todos", or one pull of each log (the middle one of each).
    const auto choosePulls = [pairPulls](bool each) {
        QItemSelectionModel *selection = pairPulls->selectionModel();
        const int count = (pairPulls->model()->rowCount() - 1) / 2;
        if (!each) {
            pairPulls->setCurrentIndex(pairPulls->model()->index(0, 0));
            return;
        }
        selection->select(pairPulls->model()->index(1 + count / 2, 0),
                          QItemSelectionModel::ClearAndSelect);
        selection->select(pairPulls->model()->index(1 + count + count / 2, 0),
                          QItemSelectionModel::Select);
    };
    const auto pairAction = [&](const QString &name, std::function<void()> prepare,
                                std::function<void()> work) {
        const int figure = figures.add(QStringLiteral("Análisis, two logs: ") + name, Floor::Parse,
                                       QStringLiteral("with the redraw"));
        actions.push_back(figure);
        round.push_back([&, figure, prepare, work] {
            prepare();
            redraw(*pairForm);
            figures.record(figure, timed([&] {
                               work();
                               redraw(*pairForm);
                           }));
        });
    };
    pairAction(
        QStringLiteral("x axis to Régimen (rpm), Todos"),
        [&] {
            choosePulls(false);
            pairAxis->setCurrentIndex(2);
        },
        [&] { pairAxis->setCurrentIndex(0); });
    pairAction(
        QStringLiteral("x axis to time from the pull's start"),
        [&] {
            choosePulls(false);
            pairAxis->setCurrentIndex(0);
        },
        [&] { pairAxis->setCurrentIndex(2); });
    pairAction(
        QStringLiteral("a pull of each log chosen"),
        [&] {
            pairAxis->setCurrentIndex(0);
            choosePulls(false);
        },
        [&] { choosePulls(true); });
    pairAction(
        QStringLiteral("Todos chosen again"),
        [&] {
            pairAxis->setCurrentIndex(0);
            choosePulls(true);
        },
        [&] { choosePulls(false); });
    pairAction(
        QStringLiteral("tick a series"),
        [&] {
            choosePulls(false);
            pairSeries->setData(pairSeries->index(9, 0), Qt::Unchecked, Qt::CheckStateRole);
        },
        [&] { pairSeries->setData(pairSeries->index(9, 0), Qt::Checked, Qt::CheckStateRole); });
    pairAction(
        QStringLiteral("Solo tirones unticked (bins of both)"),
        [&] {
            if (!pairOnlyPulls->isChecked())
                pairOnlyPulls->click();
        },
        [&] { pairOnlyPulls->click(); });
    pairAction(
        QStringLiteral("read-out (the mouse over the chart)"),
        [&] {
            pairAxis->setCurrentIndex(0);
            choosePulls(false);
        },
        [&, step = 0]() mutable {
            const QPointF at =
                QPointF(pairPlot()->axisRect()->rect().center()) + QPointF(++step % 2 ? 5 : -5, 0);
            QMouseEvent move(QEvent::MouseMove, at, pairPlot()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(pairPlot(), &move);
        });
    pairAction(
        QStringLiteral("zoom (a wheel notch)"),
        [&] {
            pairAxis->setCurrentIndex(0);
            choosePulls(false);
            pairTab->chart()->showAll();
        },
        [&] {
            const QPointF at(pairPlot()->axisRect()->rect().center());
            QWheelEvent wheel(at, pairPlot()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pairPlot(), &wheel);
        });
    pairAction(
        QStringLiteral("power curves: x axis to Régimen (rpm)"),
        [&] {
            tickPower(true);
            choosePulls(false);
            pairAxis->setCurrentIndex(2);
        },
        [&] { pairAxis->setCurrentIndex(0); });
    pairAction(
        QStringLiteral("power curves: vehicle changed (power of both)"), [] {},
        [&, heavy = false]() mutable {
            Vehicle vehicle;
            heavy = !heavy;
            vehicle.mass = heavy ? 1650 : 1500;
            pairTab->setVehicle(vehicle);
        });
    pairAction(
        QStringLiteral("power curves: a pull of each log chosen"), [&] { choosePulls(false); },
        [&] { choosePulls(true); });
    round.push_back([&] { tickPower(false); }); // as the other actions found it
    runRounds();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != form.get())
            window->close();
    form->close();
    tabForm->close();
    pairForm->close();

    printFigures(rows, fileBytes, reps, figures, parseFloor, windowFloor);

    if (rows == 3000)
        targets.startupSmall = figures.medianOf(windowStart) / figures.medianOf(windowFloor);
    if (rows == 1000000) {
        const double parse = figures.medianOf(parseFloor);
        targets.startupBig = figures.medianOf(windowStart) / parse;
        targets.chartStartBig = figures.medianOf(chartStart) / parse;
        targets.chartMemoryBig = median(*chartMemory) / double(fileBytes);
        targets.firstDrawBig = figures.medianOf(firstDraw) / parse;
        targets.reportBig = figures.medianOf(report) / parse;
        targets.memoryBig = median(*reportMemory) / double(fileBytes);
        targets.analysisBig = figures.medianOf(analysis) * 1000;
        targets.pullsPowerBig = figures.medianOf(pullsPower) * 1000;
        for (int f : actions) {
            if (figures.medianOf(f) * 1000 > targets.slowestAction) {
                targets.slowestAction = figures.medianOf(f) * 1000;
                targets.slowestName = figures.all()[size_t(f)].name;
            }
        }
    }
}

void printTargets(const Targets &t)
{
    std::printf("\ntargets (figures of this run)\n");
    const auto line = [](const char *what, double value, const char *unit, double target) {
        if (value <= 0) {
            std::printf("  %-66s %10s  (not measured)\n", what, "");
            return;
        }
        std::printf("  %-66s %8.2f%-2s <= %.2f%s  %s\n", what, value, unit, target, unit,
                    value <= target ? "holds" : "MISSED");
    };
    line("start to main window drawn, 3,000 rows, x minimal window", t.startupSmall, "x", 1.10);
    line("start to main window drawn, 1,000,000 rows, x parse floor", t.startupBig, "x", 2.0);
    line("--report, 1,000,000 rows, x parse floor", t.reportBig, "x", 1.3);
    line("peak memory of --report, 1,000,000 rows, x file", t.memoryBig, "x", 1.75);
    line("start to chart drawn (Grafica tab), 1,000,000 rows, x parse floor", t.chartStartBig, "x",
         1.5);
    line("peak memory of that start, 1,000,000 rows, x file", t.chartMemoryBig, "x", 2.0);
    line("13 series: first draw of a new view, 1,000,000 rows, x parse floor", t.firstDrawBig, "x",
         1.5);
    if (t.slowestAction > 0)
        std::printf(
            "  %-66s %8.2fms <  100ms  %s\n",
            qPrintable(
                QStringLiteral("slowest user action on 1,000,000 rows (%1)").arg(t.slowestName)),
            t.slowestAction, t.slowestAction < 100 ? "holds" : "MISSED");
    if (t.analysisBig > 0)
        std::printf("  %-66s %8.2fms <  100ms  %s\n", "analysis of 1,000,000 rows, cells read",
                    t.analysisBig, t.analysisBig < 100 ? "holds" : "MISSED");
    if (t.pullsPowerBig > 0)
        std::printf("  %-66s %8.2fms <   50ms  %s\n", "power of every pull, 1,000,000 rows",
                    t.pullsPowerBig, t.pullsPowerBig < 50 ? "holds" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    // The spawner (see runChild) does its work before any Qt is loaded up.
    if (argc > 2 && std::strcmp(argv[1], "--spawn") == 0)
        return spawnAndMeasure(std::vector<std::string>(argv + 2, argv + argc));

    // The bench and the programs it starts draw on the same platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The vehicle the bench sets is kept in settings of its own, never the user's.
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    int reps = 9;
    QList<int> sizes = {3000, 32767, 1000000};
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
            std::fprintf(stderr,
                         "usage: ondalyx_bench [--reps N] [--sizes A,B,...] [--keep DIR]\n");
            return 2;
        }
    }

    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(folder);
    Programs programs;
    programs.ondalyx = QStringLiteral(ONDALYX_PROGRAM);
    programs.probe = QStringLiteral(ONDALYX_WINDOW_PROBE);
    programs.minimal = QStringLiteral(ONDALYX_MINIMAL_WINDOW);
    {
        // The minimal window takes the size of the program's main window as it shows.
        Form1 form;
        form.adjustSize();
        programs.windowSize = form.size();
    }
    std::printf("ondalyx_bench: medians of %d interleaved rounds; platform %s; window %dx%d; "
                "program %s\n",
                reps, qPrintable(QGuiApplication::platformName()), programs.windowSize.width(),
                programs.windowSize.height(), qPrintable(programs.ondalyx));
    Targets targets;
    for (int rows : sizes)
        if (rows > 0)
            benchSize(rows, reps, folder, programs, targets);
    printTargets(targets);
    return 0;
}
