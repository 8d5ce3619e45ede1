#include "program/AnalysisReport.h"

#include "core/Analysis.h"
#include "core/AnalysisTexts.h"
#include "core/JsonWriter.h"

#include <string_view>

namespace AnalysisReport {

namespace {

void writePulls(JsonWriter &json, const std::vector<Pulls::Pull> &pulls)
{
    json.key("pulls");
    json.beginArray();
    for (const Pulls::Pull &pull : pulls) {
        json.beginObject();
        json.field("first", pull.firstRow);
        json.field("last", pull.lastRow);
        json.field("rows", pull.rows());
        json.key("rpm_from");
        json.number(pull.rpmFrom);
        json.key("rpm_to");
        json.number(pull.rpmTo);
        json.key("seconds");
        json.number(pull.seconds);
        json.endObject();
    }
    json.endArray();
}

void writeLeftOut(JsonWriter &json, const Analysis::Result &result)
{
    json.key("left_out");
    json.beginObject();
    using Pulls::Reason;
    for (Reason reason : {Reason::NoSpeed, Reason::LowSpeed, Reason::Pause, Reason::NotClimbing,
                          Reason::Pedal, Reason::Short, Reason::SmallSpan})
        json.field(AnalysisTexts::reasonKey(reason), result.leftOutCount[size_t(reason)]);
    json.endObject();
}

void writeBins(JsonWriter &json, const std::vector<SpecifiedActual::Bin> &bins)
{
    json.key("bins");
    json.beginArray();
    for (const SpecifiedActual::Bin &bin : bins) {
        json.beginObject();
        json.key("rpm");
        json.number(bin.rpm);
        json.field("rows", bin.rows);
        const std::pair<const char *, double> means[] = {{"specified", bin.specified},
                                                         {"actual", bin.actual},
                                                         {"difference", bin.difference},
                                                         {"worst", bin.worst}};
        for (const auto &[name, value] : means) {
            json.key(name);
            json.number(value);
        }
        json.endObject();
    }
    json.endArray();
}

void writePairs(JsonWriter &json, const Analysis::Result &result)
{
    json.key("pairs");
    json.beginArray();
    for (const SpecifiedActual::Pair &pair : result.pairs) {
        json.beginObject();
        json.field("specified", pair.specified);
        json.field("actual", pair.actual);
        json.field("unit", pair.unit);
        json.field("only_pulls", result.onlyPulls);
        writeBins(json, pair.bins);
        json.endObject();
    }
    json.endArray();
}

} // namespace

void write(JsonWriter &json, const Analysis::Result &result)
{
    json.key("analysis");
    json.beginObject();
    json.key("rpm_column");
    if (result.rpmColumn == ColumnRoles::None)
        json.null();
    else
        json.integer(result.rpmColumn);
    json.key("rate");
    json.number(result.rate);
    json.key("units");
    json.beginArray();
    for (const QString &unit : result.units)
        json.string(unit);
    json.endArray();
    writePulls(json, result.pulls);
    writeLeftOut(json, result);
    writePairs(json, result);
    json.endObject();
}

} // namespace AnalysisReport
