#pragma once

#include "TestSupport.h"

#include "program/AppState.h"

namespace TestSupport {

// The program's state with a folder for its logs and its messages collected instead of shown.
struct Loaded {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;

    Loaded()
    {
        state.showMessage = [this](const QString &t, MessageKind) { messages << t; };
    }
    // Started with `log` as its argument.
    explicit Loaded(const QByteArray &log) : Loaded() { load(log); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeFile(dir, name, bytes);
    }
    // Start-up with the log at `path`; the messages of earlier loads are dropped.
    bool file(const QString &path)
    {
        messages.clear();
        return state.FormLoad(path);
    }
    bool load(const QByteArray &log) { return file(write(QStringLiteral("log.csv"), log)); }
    // "Abrir CSV" answered with `path`; an empty path is a cancelled dialog.
    bool open(const QString &path) { return state.OpenChosen(path, QFileInfo(path).fileName()); }
    void tick(std::initializer_list<int> boxes)
    {
        for (int k : boxes)
            state.setBoxTicked(k, true);
    }
    // The boxes of the chart's series, in series order.
    QList<int> seriesBoxes() const
    {
        QList<int> boxes;
        for (int s = 1; s <= state.chart.seriesCount(); ++s)
            boxes << state.chart.seriesBox(s);
        return boxes;
    }
    QList<int> ticked() const
    {
        QList<int> boxes;
        for (int k = 0; k < AppState::BoxCount; ++k)
            if (state.box(k).ticked)
                boxes << k;
        return boxes;
    }
};

} // namespace TestSupport
