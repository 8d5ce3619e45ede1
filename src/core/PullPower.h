#pragma once

#include "core/Vehicle.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// The power a pull made, from its engine speed over time and the car's data (a "virtual dyno").
// These logs give one to three samples a second, so the engine speed is not differenced row by
// row: a polynomial of degree 3 at most is fitted to the whole pull by least squares, and speed
// and acceleration come from the fit:
//   v = r / q / 3.6 m/s, a = r' / q / 3.6 m/s², q = (rpm at 100 km/h) / 100,
//   wheel power P_w = m a v + ½ ρ Cd A v³ + C_rr m g v, engine power P = P_w / (1 - losses),
//   torque M = P / (2π r / 60), shown as CV (P / 735.49875) and Nm.
// The fit works on the times centred and scaled to [-1, 1] and solves the least-squares problem
// by Householder QR, so it never forms or inverts the normal equations; a system of too few
// distinct times is reported instead of solved.
namespace PullPower {

constexpr double Gravity = 9.80665; // m/s²
constexpr double WattsPerCv = 735.49875;

// A least-squares polynomial r(u) = c0 + c1 u + c2 u² + c3 u³ in the time since the first row,
// u = t - t_0.
struct Fit {
    enum Status { Fitted, FewRows, RepeatedTimes, OutOfScale };
    Status status = FewRows;
    int degree = 0;                       // min(3, n - 2), at least 0
    std::array<double, 4> coefficients{}; // c0..c3 in u; those above the degree are 0
};

// The fit of n times (any origin, in seconds) and speeds. Not `Fitted` when n < 3, when the
// times have fewer distinct values than the degree needs (or lie too close together to tell
// them apart), or when a time or speed is not finite or the times span more than a double holds.
Fit FitSpeed(const double *times, const double *speeds, size_t n);

struct Point {
    int row = 0;    // the table row
    double rpm = 0; // the fitted engine speed
    double cv = 0;
    double nm = 0;
};

struct Peak {
    double value = 0; // CV or Nm
    double rpm = 0;   // the fitted engine speed where it is reached
};

struct Result {
    // Whether there is a curve, or why not, with the text Warnings gives for it.
    enum Outcome {
        Curve,
        // "No se puede ajustar el régimen: el tirón tiene menos de 3 filas."
        FewRows,
        // "No se puede ajustar el régimen: los tiempos se repiten."
        RepeatedTimes,
        // "No se puede calcular la potencia: los valores del tirón están fuera de escala."
        OutOfScale,
        // "El régimen ajustado no sube en todo el tirón"
        NotRising,
    };
    Outcome outcome = FewRows;
    int degree = 0;             // of the fit, as Fit::degree
    std::optional<double> rate; // samples per second, (n - 1) / seconds; none when no time passes
    std::vector<Point> points;  // one per row; empty when there is no curve
    std::optional<Peak> peakCv; // the first point of the highest CV; none when no curve
    std::optional<Peak> peakNm;
};

// The power of a pull of n rows: their times (the engine-speed column's group time stamps, any
// origin, in time order as a pull has them), engine speeds and table rows, with a vehicle that
// Vehicle::problem() accepts. There is no curve when the fit fails, or when the fitted speed
// does not rise at some row (r <= 0 or r' <= 0 there, a slope within rounding of zero counting as
// 0), or when a figure would not be finite. Every number given is finite.
Result Compute(const double *times, const double *speeds, const int *rows, size_t n,
               const Vehicle &vehicle);

// The texts under a pull's figures, in this order: why there is no curve (as listed with
// Result::Outcome), "Ajuste de grado 2: pocas filas" when the degree is 2, and "Pocas muestras
// por segundo: las curvas son orientativas." when the rate is under 2.
QStringList Warnings(const Result &result);

// "148 CV a 3.950 rpm, 331 Nm a 2.300 rpm": the peaks rounded to whole numbers, "." grouping
// thousands; "sin curva de potencia" when there is none.
QString PeakText(const Result &result);

// "Tirón 2: " and PeakText; `pull` counts from 1.
QString FigureLine(int pull, const Result &result);

// How the second log's pull differs from the first's: "+12 CV a 3.900 rpm, -5 Nm a 2.250 rpm",
// each the second peak minus the first as the two figure lines show them (whole numbers, so the
// three numbers on screen agree), "+" before a gain, "-" before a loss, "0" when they are equal,
// at the rpm of the second log's peak. "" when either pull has no curve.
QString DifferenceText(const Result &first, const Result &second);

} // namespace PullPower
