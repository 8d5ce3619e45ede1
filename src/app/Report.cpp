#include "app/Report.h"

#include "app/AppState.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace Report {

namespace {

// A buffered JSON writer; strings are UTF-8.
class Json {
public:
    explicit Json(FILE *out) : m_out(out) { m_buf.reserve(1 << 16); }
    ~Json() { flush(); }

    void raw(std::string_view text)
    {
        m_buf.append(text);
        if (m_buf.size() >= (1 << 16))
            flush();
    }
    void string(std::string_view text)
    {
        m_buf.push_back('"');
        for (unsigned char c : text) {
            switch (c) {
            case '"': m_buf.append("\\\""); break;
            case '\\': m_buf.append("\\\\"); break;
            case '\n': m_buf.append("\\n"); break;
            case '\r': m_buf.append("\\r"); break;
            case '\t': m_buf.append("\\t"); break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    m_buf.append(esc);
                } else {
                    m_buf.push_back(char(c));
                }
            }
        }
        m_buf.push_back('"');
        if (m_buf.size() >= (1 << 16))
            flush();
    }
    void string(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        string(std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    void key(const char *name)
    {
        string(std::string_view(name));
        m_buf.push_back(':');
    }
    void number(double value)
    {
        if (!std::isfinite(value)) {
            raw("null");
            return;
        }
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        raw(std::string_view(text, size_t(result.ptr - text)));
    }
    void integer(long long value) { raw(std::to_string(value)); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void flush()
    {
        if (!m_buf.empty())
            std::fwrite(m_buf.data(), 1, m_buf.size(), m_out);
        m_buf.clear();
    }

private:
    FILE *m_out;
    std::string m_buf;
};

const char *engineName(EngineType type)
{
    switch (type) {
    case EngineType::Diesel: return "Diesel";
    case EngineType::Gasolina: return "Gasolina";
    case EngineType::Ninguno: break;
    }
    return "Ninguno";
}

} // namespace

bool parseArguments(const QStringList &args, Options &options, QString &error)
{
    options = Options();
    bool report = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--report")) {
            report = true;
        } else if (arg == QLatin1String("--cells")) {
            options.cells = true;
        } else if (arg == QLatin1String("--power") || arg == QLatin1String("--chart")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("falta el valor de %1").arg(arg);
                return false;
            }
            const QString value = args[++i];
            if (arg == QLatin1String("--chart")) {
                options.chartFile = value;
                continue;
            }
            const QStringList parts = value.split(QLatin1Char(','));
            bool ok = parts.size() == 3;
            for (int p = 0; ok && p < 3; ++p) {
                options.powerBoxes[p] = parts[p].toInt(&ok);
                ok = ok && options.powerBoxes[p] >= 0 && options.powerBoxes[p] < AppState::BoxCount;
            }
            if (!ok) {
                error = QStringLiteral("--power espera tres casillas de 0 a 14, como 2,6,9");
                return false;
            }
            options.power = true;
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
        error = QStringLiteral(
            "uso: ondalyx --report [--cells] [--power A,B,C] [--chart ARCHIVO] REGISTRO");
        return false;
    }
    return true;
}

bool load(AppState &state, const Options &options, QString &error)
{
    QString lastMessage;
    state.showMessage = [&lastMessage](const QString &text, MessageKind) { lastMessage = text; };
    const bool ok = state.FormLoad(options.logPath);
    state.showMessage = nullptr;
    if (!ok)
        error = lastMessage;
    return ok;
}

void write(AppState &state, const Options &options, FILE *out)
{
    Json json(out);
    json.raw("{");
    json.key("caption");
    json.string(state.caption());
    json.raw(",");
    json.key("title");
    json.string(state.LogTitle);
    json.raw(",");
    json.key("header");
    json.string(state.LogHeader);

    json.raw(",");
    json.key("groups");
    json.raw("{");
    json.key("002");
    json.boolean(state.HasGroup002);
    json.raw(",");
    json.key("003");
    json.boolean(state.HasGroup003);
    json.raw(",");
    json.key("011");
    json.boolean(state.HasGroup011);
    json.raw(",");
    json.key("115");
    json.boolean(state.HasGroup115);
    json.raw(",");
    json.key("120");
    json.boolean(state.chcvEnabled());
    json.raw("}");

    json.raw(",");
    json.key("engine");
    json.string(std::string_view(engineName(state.engine())));

    json.raw(",");
    json.key("columns");
    json.raw("[");
    for (int k = 0; k < state.table.columnCount(); ++k) {
        const DataTable::Column &column = state.table.column(k);
        json.raw(k ? ",{" : "{");
        json.key("header");
        json.string(column.header);
        json.raw(",");
        json.key("hidden");
        json.boolean(column.width == 0);
        json.raw("}");
    }
    json.raw("]");

    json.raw(",");
    json.key("boxes");
    json.raw("[");
    bool first = true;
    for (int k = 0; k < AppState::BoxCount; ++k) {
        if (!state.box(k).visible)
            continue;
        json.raw(first ? "{" : ",{");
        first = false;
        json.key("index");
        json.integer(k);
        json.raw(",");
        json.key("caption");
        json.string(state.box(k).caption);
        json.raw("}");
    }
    json.raw("]");

    json.raw(",");
    json.key("series");
    json.raw("[");
    for (int s = 1; s <= state.chart.seriesCount(); ++s) {
        json.raw(s > 1 ? ",{" : "{");
        json.key("box");
        json.integer(state.chart.seriesBox(s));
        json.raw(",");
        json.key("label");
        json.string(state.chart.seriesLabel(s));
        json.raw("}");
    }
    json.raw("]");

    json.raw(",");
    json.key("rows");
    json.integer(state.table.rowCount());

    json.raw(",");
    json.key("stats");
    json.raw("{");
    const char *names[StatLabelCount] = {"LbMaxPico", "LbTimeCarga", "Label1", "LbMaxN75",
                                         "LbMEGR"};
    for (int i = 0; i < StatLabelCount; ++i) {
        if (i)
            json.raw(",");
        json.key(names[i]);
        json.string(state.label(StatLabel(i)));
    }
    json.raw("}");

    if (options.cells) {
        json.raw(",");
        json.key("cells");
        json.raw("[");
        const int rows = state.table.rowCount();
        for (int r = 1; r <= rows; ++r) {
            json.raw(r > 1 ? ",[" : "[");
            const int cells = state.table.cellCount(r);
            for (int k = 0; k < cells; ++k) {
                if (k)
                    json.raw(",");
                json.string(state.table.cellText(r, k));
            }
            json.raw("]");
        }
        json.raw("]");
    }

    if (options.power) {
        QString message;
        state.showMessage = [&message](const QString &text, MessageKind) { message = text; };
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        for (int box : options.powerBoxes)
            state.setBoxTicked(box, true);
        state.setChCVTicked(true);
        state.showMessage = nullptr;

        json.raw(",");
        json.key("power");
        json.raw("{");
        json.key("message");
        if (message.isEmpty())
            json.raw("null");
        else
            json.string(message);
        const bool drawn = message.isEmpty() && state.chcvTicked();
        const ChartModel &chart = state.chart;
        const int rows = drawn ? chart.rowCount() : 0;
        json.raw(",");
        json.key("labels");
        json.raw("[");
        for (int r = 1; r <= rows; ++r) {
            if (r > 1)
                json.raw(",");
            json.string(chart.rowLabel(r));
        }
        json.raw("]");
        for (int s = 1; s <= 2; ++s) {
            json.raw(",");
            json.key(s == 1 ? "torque" : "power");
            json.raw("[");
            const std::vector<double> &values = chart.series(s).values;
            for (int r = 0; drawn && r < int(values.size()); ++r) {
                if (r)
                    json.raw(",");
                json.number(values[size_t(r)]);
            }
            json.raw("]");
        }
        json.raw("}");
    }
    json.raw("}\n");
}

} // namespace Report
