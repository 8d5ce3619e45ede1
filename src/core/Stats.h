#pragma once

#include <QString>

class DataTable;

// The five diesel turbo figures. Each reads the data table afresh, cell by cell, and returns the
// caption of its label. A step that fails (a row or cell that does not exist, a text that cannot
// be read as a number, a division by zero, an overflow) keeps the value it would have set and the
// statistic goes on. Every comparison reads both sides as numbers with "," taken as "." and then
// LeadingValue; a value holding a number (a row number) compares as that number.
//
// Cells: 1 engine speed, 4 EGR, 7 the pressure cell 8 is compared against, 8 manifold pressure
// (MAP), 9 N75.
namespace Stats {

QString MaxPico(const DataTable &table);          // "Pico Max MAP: ..."
QString TimeCarga(const DataTable &table);        // "Turbo cargado a ..."
QString VariacionPresion(const DataTable &table); // "Tenemos una variacion de presion de: ..."
QString MaxN75(const DataTable &table);           // "Valor Maximo N75: ..."
QString MinEGR(const DataTable &table);           // "Valor Minimo EGR: ..."

// The five figures of one table, in the order the statistics run writes them.
struct Figures {
    QString maxPico;
    QString timeCarga;
    QString variacionPresion;
    QString maxN75;
    QString minEGR;
};
Figures Compute(const DataTable &table);

} // namespace Stats
