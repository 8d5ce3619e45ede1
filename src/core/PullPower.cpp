#include "core/PullPower.h"

#include "core/NumberRules.h"

#include <algorithm>
#include <cmath>

namespace PullPower {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Below this, relative to the column of ones, a diagonal element of R means that the times are
// too few or too close together for the degree (exactly repeated times leave rounding noise of
// about 1e-16 there). Times that are truly apart, once scaled to [-1, 1], stay far above it.
constexpr double RankTolerance = 1e-9;

// A fitted slope of at most this fraction of the largest speed per half the pull's seconds is
// rounding noise of a flat fit (a pull climbs by a good part of its speed): a steady speed must
// not read as a rising one.
constexpr double FlatSlope = 1e-9;

// The fit in the scaled time x = (u - centre) / half, u = t - t_0, x in [-1, 1]; the speeds are
// divided by `scale`, their largest magnitude, so that no sum of squares overflows:
// r(u) = scale * (b0 + b1 x + b2 x² + b3 x³).
struct ScaledFit {
    Fit::Status status = Fit::FewRows;
    int degree = 0;
    double centre = 0;
    double half = 1;
    double scale = 1;
    std::array<double, 4> b{};
};

int degreeFor(size_t n)
{
    return n >= 5 ? 3 : n >= 2 ? int(n) - 2 : 0;
}

ScaledFit fitScaled(const double *times, const double *speeds, size_t n)
{
    ScaledFit fit;
    fit.degree = degreeFor(n);
    if (n < 3)
        return fit;

    double lo = 0, hi = 0, scale = 0;
    for (size_t k = 0; k < n; ++k) {
        const double u = times[k] - times[0];
        if (!std::isfinite(u) || !std::isfinite(speeds[k])) {
            fit.status = Fit::OutOfScale;
            return fit;
        }
        lo = std::min(lo, u);
        hi = std::max(hi, u);
        scale = std::max(scale, std::fabs(speeds[k]));
    }
    if (!std::isfinite(hi - lo)) {
        fit.status = Fit::OutOfScale;
        return fit;
    }
    if (!(hi > lo)) {
        fit.status = Fit::RepeatedTimes;
        return fit;
    }
    fit.half = (hi - lo) / 2;
    fit.centre = lo + fit.half;
    fit.scale = scale > 0 ? scale : 1;

    // Column-major n x p matrix of 1, x, x², x³, then the speeds as column p; Householder QR
    // turns the matrix into R (on and above the diagonal) and the speeds into Qᵀy.
    const size_t p = size_t(fit.degree) + 1;
    std::vector<double> a(n * (p + 1));
    for (size_t k = 0; k < n; ++k) {
        const double x = (times[k] - times[0] - fit.centre) / fit.half;
        double power = 1;
        for (size_t j = 0; j < p; ++j) {
            a[j * n + k] = power;
            power *= x;
        }
        a[p * n + k] = speeds[k] / fit.scale;
    }
    std::array<double, 4> diagonal{};
    const double tolerance = RankTolerance * std::sqrt(double(n));
    for (size_t j = 0; j < p; ++j) {
        double *column = &a[j * n];
        double norm2 = 0;
        for (size_t k = j; k < n; ++k)
            norm2 += column[k] * column[k];
        const double norm = std::sqrt(norm2);
        if (!(norm > tolerance)) {
            fit.status = Fit::RepeatedTimes;
            return fit;
        }
        // v = column - alpha e_j with alpha of the opposite sign to column[j], so that nothing
        // cancels; then vᵀv = 2 norm (norm + |column[j]|) and H = I - 2 v vᵀ / vᵀv.
        const double head = column[j];
        const double alpha = head > 0 ? -norm : norm;
        column[j] = head - alpha;
        const double twoOverVv = 1 / (norm * (norm + std::fabs(head)));
        for (size_t c = j + 1; c <= p; ++c) {
            double *other = &a[c * n];
            double dot = 0;
            for (size_t k = j; k < n; ++k)
                dot += column[k] * other[k];
            const double f = dot * twoOverVv;
            for (size_t k = j; k < n; ++k)
                other[k] -= f * column[k];
        }
        diagonal[j] = alpha;
    }
    // Back substitution in R b = (Qᵀy)[0..p); every diagonal element is above the tolerance.
    const double *qty = &a[p * n];
    for (size_t j = p; j-- > 0;) {
        double sum = qty[j];
        for (size_t c = j + 1; c < p; ++c)
            sum -= a[c * n + j] * fit.b[c];
        fit.b[j] = sum / diagonal[j];
    }
    fit.status = Fit::Fitted;
    return fit;
}

// The fitted speed and its slope per second at time u since the first row.
void evaluate(const ScaledFit &fit, double u, double &rpm, double &slope)
{
    const double x = (u - fit.centre) / fit.half;
    const std::array<double, 4> &b = fit.b;
    rpm = fit.scale * (b[0] + x * (b[1] + x * (b[2] + x * b[3])));
    slope = fit.scale * (b[1] + x * (2 * b[2] + x * 3 * b[3])) / fit.half;
}

Result::Outcome outcomeOf(Fit::Status status)
{
    switch (status) {
    case Fit::Fitted:
        break;
    case Fit::FewRows:
        return Result::FewRows;
    case Fit::RepeatedTimes:
        return Result::RepeatedTimes;
    case Fit::OutOfScale:
        return Result::OutOfScale;
    }
    return Result::Curve;
}

// A whole number as the figures show it: "." grouping thousands, "0" for what rounds to zero.
QString whole(double value)
{
    const std::string text = NumberRules::FormatGrouped(value);
    return text.empty() ? QStringLiteral("0") : QString::fromStdString(text);
}

QString signedWhole(double value)
{
    return value > 0 ? QLatin1Char('+') + whole(value) : whole(value);
}

} // namespace

Fit FitSpeed(const double *times, const double *speeds, size_t n)
{
    const ScaledFit scaled = fitScaled(times, speeds, n);
    Fit fit;
    fit.status = scaled.status;
    fit.degree = scaled.degree;
    if (scaled.status != Fit::Fitted)
        return fit;
    // r(u) = scale * sum b_j x^j with x = alpha u + beta: Horner's rule on polynomials in u.
    const double alpha = 1 / scaled.half, beta = -scaled.centre / scaled.half;
    std::array<double, 4> c{};
    for (int j = scaled.degree; j >= 0; --j) {
        for (int i = 3; i >= 0; --i)
            c[size_t(i)] = beta * c[size_t(i)] + (i > 0 ? alpha * c[size_t(i - 1)] : 0);
        c[0] += scaled.b[size_t(j)];
    }
    for (double &coefficient : c) {
        coefficient *= scaled.scale;
        if (!std::isfinite(coefficient)) {
            fit.status = Fit::OutOfScale;
            return fit;
        }
    }
    fit.coefficients = c;
    return fit;
}

Result Compute(const double *times, const double *speeds, const int *rows, size_t n,
               const Vehicle &vehicle)
{
    Result result;
    const ScaledFit fit = fitScaled(times, speeds, n);
    result.degree = fit.degree;
    result.outcome = outcomeOf(fit.status);
    if (n >= 2) {
        const double rate = double(n - 1) / (times[n - 1] - times[0]);
        if (std::isfinite(rate) && rate > 0)
            result.rate = rate;
    }
    if (result.outcome != Result::Curve)
        return result;

    const double perRpm = 100 / vehicle.rpmAt100 / 3.6; // m/s per rpm
    const double m = vehicle.mass;
    const double drag = 0.5 * vehicle.airDensity * vehicle.dragCoefficient * vehicle.frontalArea;
    const double rolling = vehicle.rollingResistance * m * Gravity;
    const double toEngine = 1 / (1 - vehicle.lossesPercent / 100);
    const double flat = FlatSlope * fit.scale / fit.half;
    result.points.reserve(n);
    for (size_t k = 0; k < n; ++k) {
        double rpm = 0, slope = 0;
        evaluate(fit, times[k] - times[0], rpm, slope);
        if (!(rpm > 0) || !(slope > flat)) {
            result.outcome = Result::NotRising;
            break;
        }
        const double v = rpm * perRpm, acceleration = slope * perRpm;
        const double watts = (m * acceleration * v + drag * v * v * v + rolling * v) * toEngine;
        const Point point{rows[k], rpm, watts / WattsPerCv, watts / (2 * Pi * rpm / 60)};
        if (!std::isfinite(point.cv) || !std::isfinite(point.nm)) {
            result.outcome = Result::OutOfScale;
            break;
        }
        result.points.push_back(point);
    }
    if (result.outcome != Result::Curve) {
        result.points.clear();
        return result;
    }
    Peak cv{result.points[0].cv, result.points[0].rpm};
    Peak nm{result.points[0].nm, result.points[0].rpm};
    for (const Point &point : result.points) {
        if (point.cv > cv.value)
            cv = {point.cv, point.rpm};
        if (point.nm > nm.value)
            nm = {point.nm, point.rpm};
    }
    result.peakCv = cv;
    result.peakNm = nm;
    return result;
}

QStringList Warnings(const Result &result)
{
    QStringList texts;
    switch (result.outcome) {
    case Result::Curve:
        break;
    case Result::FewRows:
        texts << QStringLiteral("No se puede ajustar el régimen: el tirón tiene menos de 3 filas.");
        break;
    case Result::RepeatedTimes:
        texts << QStringLiteral("No se puede ajustar el régimen: los tiempos se repiten.");
        break;
    case Result::OutOfScale:
        texts << QStringLiteral(
            "No se puede calcular la potencia: los valores del tirón están fuera de escala.");
        break;
    case Result::NotRising:
        texts << QStringLiteral("El régimen ajustado no sube en todo el tirón");
        break;
    }
    if (result.degree == 2)
        texts << QStringLiteral("Ajuste de grado 2: pocas filas");
    if (result.rate && *result.rate < 2)
        texts << QStringLiteral("Pocas muestras por segundo: las curvas son orientativas.");
    return texts;
}

QString PeakText(const Result &result)
{
    if (!result.peakCv || !result.peakNm)
        return QStringLiteral("sin curva de potencia");
    return QStringLiteral("%1 CV a %2 rpm, %3 Nm a %4 rpm")
        .arg(whole(result.peakCv->value), whole(result.peakCv->rpm), whole(result.peakNm->value),
             whole(result.peakNm->rpm));
}

QString FigureLine(int pull, const Result &result)
{
    return QStringLiteral("Tirón %1: ").arg(pull) + PeakText(result);
}

QString DifferenceText(const Result &first, const Result &second)
{
    if (!first.peakCv || !first.peakNm || !second.peakCv || !second.peakNm)
        return {};
    const double cv = std::round(second.peakCv->value) - std::round(first.peakCv->value);
    const double nm = std::round(second.peakNm->value) - std::round(first.peakNm->value);
    return QStringLiteral("%1 CV a %2 rpm, %3 Nm a %4 rpm")
        .arg(signedWhole(cv), whole(second.peakCv->rpm), signedWhole(nm),
             whole(second.peakNm->rpm));
}

} // namespace PullPower
