// libFuzzer target: the bytes of one input are a log file, taken through everything a load sets
// off and what a user then does with it.
//
// The bytes go to a memory file (memfd) that is opened again by its /proc path, so the reader
// sees a regular file by name as it does at start-up; nothing touches the disk.

#include "app/AppState.h"
#include "app/Report.h"
#include "chart/Graficas.h"
#include "chart/PointReadout.h"
#include "stats/Stats.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
    for (int k = 0; k < AppState::BoxCount; ++k)
        state.setBoxTicked(k, false);
    state.setBoxTicked(a, true);
    state.setBoxTicked(b, true);
    state.setBoxTicked(c, true);
    state.setChCVTicked(true);
    state.setChCVTicked(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FILE *const sink = std::fopen("/dev/null", "w");
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(logFile());
    writeAll(logFile(), data, size);

    AppState state;
    state.showMessage = [](const QString &, MessageKind) {};
    state.FormLoad(path);
    Stats::CalcStats(state);

    // What the window offers on a loaded log: the report of every cell, a picked point, the
    // power curve on two choices of boxes (one with too few boxes), a deleted row, a colour,
    // the atmospheric box and the chart reset.
    Report::Options options;
    options.cells = true;
    Report::write(state, options, sink);
    for (int s = 1; s <= state.chart.seriesCount(); ++s)
        PointReadout::Text(state, state.chart, s, 1 + int(size % 7));
    powerCurve(state, 1, 7, 8);
    powerCurve(state, 2, 6, 9);
    for (int k = 0; k < AppState::BoxCount; ++k)
        state.setBoxTicked(k, false);
    state.setBoxTicked(3, true);
    state.setChCVTicked(true); // one box: the message, then the reset
    state.selectEngine(EngineType::Diesel);
    state.DeleteRow(1);
    state.ColorChosen(7, QColor(1, 2, 3));
    state.setTxtAtmo(QStringLiteral("1013"));
    Graficas::ResetChart(state);
    return 0;
}
