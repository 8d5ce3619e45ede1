#include "program/AnalysisReport.h"

#include "core/Analysis.h"
#include "core/AnalysisTexts.h"
#include "core/JsonWriter.h"

#include <optional>
#include <string_view>
#include <utility>

namespace AnalysisReport {

namespace {

void writePeak(JsonWriter &json, const char *name, const std::optional<PullPower::Peak> &peak)
{
    json.key(name);
    if (!peak) {
        json.null();
        return;
    }
    json.beginArray();
    json.number(peak->value);
    json.number(peak->rpm);
    json.endArray();
}

void writePower(JsonWriter &json, const PullPower::Result &power)
{
    json.key("power");
    json.beginObject();
    json.field("degree", power.degree);
    json.key("rate");
    if (power.rate)
        json.number(*power.rate);
    else
        json.null();
    json.key("points");
    json.beginArray();
    for (const PullPower::Point &point : power.points) {
        json.beginObject();
        json.field("row", point.row);
        const std::pair<const char *, double> figures[] = {
            {"rpm", point.rpm}, {"cv", point.cv}, {"nm", point.nm}};
        for (const auto &[name, value] : figures) {
            json.key(name);
            json.number(value);
        }
        json.endObject();
    }
    json.endArray();
    writePeak(json, "peak_cv", power.peakCv);
    writePeak(json, "peak_nm", power.peakNm);
    json.key("warnings");
    json.beginArray();
    for (const QString &warning : PullPower::Warnings(power))
        json.string(warning);
    json.endArray();
    json.endObject();
}

void writePulls(JsonWriter &json, const std::vector<Pulls::Pull> &pulls,
                const std::vector<PullPower::Result> &power)
{
    const bool withPower = !pulls.empty() && power.size() == pulls.size();
    json.key("pulls");
    json.beginArray();
    for (size_t p = 0; p < pulls.size(); ++p) {
        const Pulls::Pull &pull = pulls[p];
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
        if (withPower)
            writePower(json, power[p]);
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

void write(JsonWriter &json, const Analysis::Result &result,
           const std::vector<PullPower::Result> &power, const char *key)
{
    json.key(key);
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
    writePulls(json, result.pulls, power);
    writeLeftOut(json, result);
    writePairs(json, result);
    json.endObject();
}

} // namespace AnalysisReport
