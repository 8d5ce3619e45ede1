#include "program/Report.h"

#include "core/Analysis.h"
#include "core/JsonWriter.h"
#include "core/PowerOfPulls.h"
#include "program/AnalysisReport.h"
#include "program/AppState.h"

#include <string_view>

namespace Report {

namespace {

const char *engineName(EngineType type)
{
    switch (type) {
    case EngineType::Diesel:
        return "Diesel";
    case EngineType::Gasolina:
        return "Gasolina";
    case EngineType::Ninguno:
        break;
    }
    return "Ninguno";
}

} // namespace

namespace {

bool parsePowerBoxes(const QString &value, Options &options, QString &error)
{
    const QStringList parts = value.split(QLatin1Char(','));
    bool ok = parts.size() == 3;
    for (int p = 0; ok && p < 3; ++p) {
        options.powerBoxes[p] = parts[p].toInt(&ok);
        ok = ok && options.powerBoxes[p] >= 0 && options.powerBoxes[p] < AppState::BoxCount;
    }
    if (!ok)
        error = QStringLiteral("--power espera tres casillas de 0 a 14, como 2,6,9");
    options.power = ok;
    return ok;
}

bool parseSession(const QString &option, const QString &value, int &session, QString &error)
{
    bool ok = false;
    session = value.toInt(&ok);
    if (ok && session >= 1)
        return true;
    error = option == QLatin1String("--session")
                ? QStringLiteral("--session espera el número de una sesión del registro, desde 1")
                : QStringLiteral("--compare-session espera el número de una sesión del registro "
                                 "que se compara, desde 1");
    return false;
}

// The options of the analysis of both logs.
Analysis::Options analysisOptions(const Options &options)
{
    Analysis::Options analysis;
    if (options.analysisAllRows)
        analysis.binRows = Analysis::BinRows::All;
    return analysis;
}

// The value of an option that takes one.
bool parseValue(const QString &option, const QString &value, Options &options, QString &error)
{
    if (option == QLatin1String("--chart"))
        options.chartFile = value;
    else if (option == QLatin1String("--compare"))
        options.comparePath = value;
    else if (option == QLatin1String("--power"))
        return parsePowerBoxes(value, options, error);
    else if (option == QLatin1String("--vehicle"))
        return Vehicle::fromArgument(value, options.vehicle, error);
    else if (option == QLatin1String("--session"))
        return parseSession(option, value, options.session, error);
    else
        return parseSession(option, value, options.compareSession, error);
    return true;
}

} // namespace

bool parseArguments(const QStringList &args, Options &options, QString &error)
{
    options = Options();
    bool report = false;
    bool compareSession = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool takesValue =
            arg == QLatin1String("--power") || arg == QLatin1String("--chart") ||
            arg == QLatin1String("--session") || arg == QLatin1String("--vehicle") ||
            arg == QLatin1String("--compare") || arg == QLatin1String("--compare-session");
        if (arg == QLatin1String("--report")) {
            report = true;
        } else if (arg == QLatin1String("--cells")) {
            options.cells = true;
        } else if (arg == QLatin1String("--analysis")) {
            options.analysis = true;
        } else if (arg == QLatin1String("--analysis-all-rows")) {
            options.analysis = options.analysisAllRows = true;
        } else if (takesValue) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("falta el valor de %1").arg(arg);
                return false;
            }
            if (!parseValue(arg, args[++i], options, error))
                return false;
            compareSession = compareSession || arg == QLatin1String("--compare-session");
        } else if (arg.startsWith(QLatin1String("--")) && options.logPath.isEmpty()) {
            error = QStringLiteral("opción desconocida: %1").arg(arg);
            return false;
        } else if (options.logPath.isEmpty()) {
            options.logPath = arg;
        } else {
            // A path with spaces given unquoted arrives in pieces: join them as start-up does.
            options.logPath += QLatin1Char(' ') + arg;
        }
    }
    if (!report || options.logPath.isEmpty()) {
        error = QStringLiteral("uso: ondalyx --report [--cells] [--power A,B,C] [--session N] "
                               "[--chart ARCHIVO] [--analysis] [--analysis-all-rows] "
                               "[--vehicle M,Q,CD,A,CRR,LOSS%,RHO] [--compare OTRO] "
                               "[--compare-session N] REGISTRO");
        return false;
    }
    if (compareSession && options.comparePath.isEmpty()) {
        error = QStringLiteral("--compare-session necesita --compare");
        return false;
    }
    return true;
}

bool load(AppState &state, const Options &options, QString &error)
{
    QString lastMessage;
    state.showMessage = [&lastMessage](const QString &text, MessageKind) { lastMessage = text; };
    const bool ok = state.FormLoad(options.logPath, options.session);
    state.showMessage = nullptr;
    if (!ok) {
        error = lastMessage;
        return false;
    }
    if (options.comparePath.isEmpty())
        return true;
    state.comparison.setOptions(analysisOptions(options));
    state.comparison.setVehicle(options.vehicle);
    return state.comparison.open(options.comparePath, options.compareSession, error);
}

namespace {

void writeGroups(JsonWriter &json, const AppState &state)
{
    json.key("groups");
    json.beginObject();
    json.field("002", state.HasGroup002);
    json.field("003", state.HasGroup003);
    json.field("011", state.HasGroup011);
    json.field("115", state.HasGroup115);
    json.field("120", state.chcvEnabled());
    json.endObject();
}

void writeColumns(JsonWriter &json, const DataTable &table)
{
    json.key("columns");
    json.beginArray();
    for (int k = 0; k < table.columnCount(); ++k) {
        json.beginObject();
        json.field("header", table.column(k).header);
        json.field("hidden", table.column(k).width == 0);
        json.endObject();
    }
    json.endArray();
}

void writeBoxesAndSeries(JsonWriter &json, const AppState &state)
{
    json.key("boxes");
    json.beginArray();
    for (int k = 0; k < AppState::BoxCount; ++k) {
        if (!state.box(k).visible)
            continue;
        json.beginObject();
        json.field("index", k);
        json.field("caption", state.box(k).caption);
        json.endObject();
    }
    json.endArray();

    json.key("series");
    json.beginArray();
    for (int s = 1; s <= state.chart.seriesCount(); ++s) {
        json.beginObject();
        json.field("box", state.chart.seriesBox(s));
        json.field("label", state.chart.seriesLabel(s));
        json.endObject();
    }
    json.endArray();
}

void writeSessions(JsonWriter &json, const std::vector<LogSession> &sessions)
{
    json.key("sessions");
    json.beginArray();
    for (const LogSession &session : sessions) {
        json.beginObject();
        json.field("header", session.header);
        json.field("rows", session.rows);
        json.endObject();
    }
    json.endArray();
}

void writeStats(JsonWriter &json, const AppState &state)
{
    json.key("stats");
    json.beginObject();
    const char *names[StatLabelCount] = {"LbMaxPico", "LbTimeCarga", "Label1", "LbMaxN75",
                                         "LbMEGR"};
    for (int i = 0; i < StatLabelCount; ++i)
        json.field(names[i], state.label(StatLabel(i)));
    json.endObject();
}

void writeCells(JsonWriter &json, const DataTable &table)
{
    json.key("cells");
    json.beginArray();
    for (int r = 1; r <= table.rowCount(); ++r) {
        json.beginArray();
        const int cells = table.cellCount(r);
        for (int k = 0; k < cells; ++k)
            json.string(table.cellText(r, k));
        json.endArray();
    }
    json.endArray();
}

// The analysis of the loaded log and the power of its pulls, as the "Análisis" tab shows them.
void writeAnalysis(JsonWriter &json, const AppState &state, const Options &options)
{
    const Analysis::Result result =
        Analysis::compute(state.table, state.slotTimes, state.columnLines, state.newerLayout,
                          analysisOptions(options));
    AnalysisReport::write(json, result,
                          PowerOfPulls::compute(state.table, state.slotTimes, state.newerLayout,
                                                result, options.vehicle));
}

// The keys of the loaded log, "caption" to "cells" (with "sessions" after "rows", and "analysis"
// and "compare" after "stats").
void writeLoaded(JsonWriter &json, const AppState &state, const Options &options)
{
    json.field("caption", state.caption());
    json.field("title", state.LogTitle);
    json.field("header", state.LogHeader);
    writeGroups(json, state);
    json.field("engine", std::string_view(engineName(state.engine())));
    writeColumns(json, state.table);
    writeBoxesAndSeries(json, state);
    json.field("rows", state.table.rowCount());
    writeSessions(json, state.sessions());
    writeStats(json, state);
    if (options.analysis)
        writeAnalysis(json, state, options);
    if (state.comparison.isOpen())
        AnalysisReport::write(json, state.comparison.analysis(), state.comparison.power(),
                              "compare");
    if (options.cells)
        writeCells(json, state.table);
}

// What the --power steps leave: the message they showed (empty when none) and, when the curve is
// drawn, its row labels and values.
struct PowerResult {
    QString message;
    QStringList labels;
    std::vector<double> torque;
    std::vector<double> power;
};

// The --power steps, as a user takes them: boxes A, B and C alone ticked, then "Grafica
// Potencia" when the log enables it (group 120).
PowerResult powerSteps(AppState &state, const int boxes[3])
{
    // A box without a column shows its own message when ticked; only the message of the power
    // steps counts, since the curve does not depend on the other.
    PowerResult result;
    state.showMessage = [&result](const QString &text, MessageKind) { result.message = text; };
    state.tickOnly({boxes[0], boxes[1], boxes[2]});
    result.message.clear();
    if (state.chcvEnabled())
        state.setChCVTicked(true);
    state.showMessage = nullptr;

    if (!result.message.isEmpty() || !state.chcvTicked())
        return result;
    const ChartModel &chart = state.chart;
    for (int r = 1; r <= chart.rowCount(); ++r)
        result.labels << chart.rowLabel(r);
    result.torque = chart.seriesValues(1);
    result.power = chart.seriesValues(2);
    return result;
}

void writePower(JsonWriter &json, const PowerResult &power)
{
    json.key("power");
    json.beginObject();
    json.key("message");
    if (power.message.isEmpty())
        json.null();
    else
        json.string(power.message);
    json.key("labels");
    json.beginArray();
    for (const QString &label : power.labels)
        json.string(label);
    json.endArray();
    const std::pair<const char *, const std::vector<double> *> series[] = {
        {"torque", &power.torque}, {"power", &power.power}};
    for (const auto &[name, values] : series) {
        json.key(name);
        json.beginArray();
        for (double value : *values)
            json.number(value);
        json.endArray();
    }
    json.endObject();
}

} // namespace

void write(AppState &state, const Options &options, FILE *out)
{
    JsonWriter json(out);
    json.beginObject();
    writeLoaded(json, state, options);
    if (options.power)
        writePower(json, powerSteps(state, options.powerBoxes));
    json.endObject();
    json.endLine();
}

} // namespace Report
