#include "app/Report.h"

#include "app/AppState.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <type_traits>

namespace Report {

namespace {

// A buffered JSON writer; strings are UTF-8. The separators come by themselves: every value and
// key after the first of its object or array is preceded by a comma.
class Json {
public:
    explicit Json(FILE *out) : m_out(out) { m_buf.reserve(1 << 16); }
    ~Json() { flush(); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(const char *name)
    {
        separate();
        escaped(std::string_view(name));
        m_buf.push_back(':');
        m_comma = false;
    }

    void string(std::string_view text)
    {
        separate();
        escaped(text);
        m_comma = true;
    }
    void string(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        string(std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    void number(double value)
    {
        if (!std::isfinite(value))
            return value_("null");
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        value_(std::string_view(text, size_t(result.ptr - text)));
    }
    void integer(long long value) { value_(std::to_string(value)); }
    void boolean(bool value) { value_(value ? "true" : "false"); }
    void null() { value_("null"); }
    void endLine() { m_buf.push_back('\n'); }

    // "name": value, for the common case of a key and its one value.
    template <class T> void field(const char *name, const T &value)
    {
        key(name);
        if constexpr (std::is_same_v<T, bool>)
            boolean(value);
        else if constexpr (std::is_integral_v<T>)
            integer(value);
        else
            string(value);
    }

private:
    void separate()
    {
        if (m_comma)
            m_buf.push_back(',');
        if (m_buf.size() >= (1 << 16))
            flush();
    }
    void value_(std::string_view text)
    {
        separate();
        m_buf.append(text);
        m_comma = true;
    }
    void open(char bracket)
    {
        separate();
        m_buf.push_back(bracket);
        m_comma = false;
    }
    void close(char bracket)
    {
        m_buf.push_back(bracket);
        m_comma = true;
    }
    void escaped(std::string_view text)
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
    }
    void flush()
    {
        if (!m_buf.empty())
            std::fwrite(m_buf.data(), 1, m_buf.size(), m_out);
        m_buf.clear();
    }

    FILE *m_out;
    std::string m_buf;
    bool m_comma = false;
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
    json.beginObject();
    json.field("caption", state.caption());
    json.field("title", state.LogTitle);
    json.field("header", state.LogHeader);

    json.key("groups");
    json.beginObject();
    json.field("002", state.HasGroup002);
    json.field("003", state.HasGroup003);
    json.field("011", state.HasGroup011);
    json.field("115", state.HasGroup115);
    json.field("120", state.chcvEnabled());
    json.endObject();

    json.field("engine", std::string_view(engineName(state.engine())));

    json.key("columns");
    json.beginArray();
    for (int k = 0; k < state.table.columnCount(); ++k) {
        const DataTable::Column &column = state.table.column(k);
        json.beginObject();
        json.field("header", column.header);
        json.field("hidden", column.width == 0);
        json.endObject();
    }
    json.endArray();

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

    json.field("rows", state.table.rowCount());

    json.key("stats");
    json.beginObject();
    const char *names[StatLabelCount] = {"LbMaxPico", "LbTimeCarga", "Label1", "LbMaxN75",
                                         "LbMEGR"};
    for (int i = 0; i < StatLabelCount; ++i)
        json.field(names[i], state.label(StatLabel(i)));
    json.endObject();

    if (options.cells) {
        json.key("cells");
        json.beginArray();
        const int rows = state.table.rowCount();
        for (int r = 1; r <= rows; ++r) {
            json.beginArray();
            const int cells = state.table.cellCount(r);
            for (int k = 0; k < cells; ++k)
                json.string(state.table.cellText(r, k));
            json.endArray();
        }
        json.endArray();
    }

    if (options.power) {
        // As a user would: the three boxes, then "Grafica Potencia", which a log without group
        // 120 leaves disabled. Only the message of the power steps is reported; a box without a
        // column has its own message when ticked, and the curve does not depend on it.
        QString message;
        state.showMessage = [&message](const QString &text, MessageKind) { message = text; };
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        for (int box : options.powerBoxes)
            state.setBoxTicked(box, true);
        message.clear();
        if (state.chcvEnabled())
            state.setChCVTicked(true);
        state.showMessage = nullptr;

        json.key("power");
        json.beginObject();
        json.key("message");
        if (message.isEmpty())
            json.null();
        else
            json.string(message);
        const bool drawn = message.isEmpty() && state.chcvTicked();
        const ChartModel &chart = state.chart;
        const int rows = drawn ? chart.rowCount() : 0;
        json.key("labels");
        json.beginArray();
        for (int r = 1; r <= rows; ++r)
            json.string(chart.rowLabel(r));
        json.endArray();
        for (int s = 1; s <= 2; ++s) {
            json.key(s == 1 ? "torque" : "power");
            json.beginArray();
            const std::vector<double> &values = chart.series(s).values;
            for (int r = 0; drawn && r < int(values.size()); ++r)
                json.number(values[size_t(r)]);
            json.endArray();
        }
        json.endObject();
    }
    json.endObject();
    json.endLine();
}

} // namespace Report
