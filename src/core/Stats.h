#pragma once

#include <QString>

class DataTable;

// The five diesel turbo figures. Each reads the data table afresh, cell by cell, and returns the
// caption of its label. A step that fails (a row or cell that does not exist, a text that cannot
// be read as a number, a division by zero, an overflow) keeps the value it would have set and the
// statistic goes on. Every comparison reads both sides as numbers with "," taken as "." and then
// LeadingValue; a value holding a number (a row number) compares as that number.
//
// The cells they read are those of measuring groups 003 and 011 (Cells): with 003 logged as group A
// and 011 as group B, cell 1 the engine speed, 4 EGR, 7 the boost the manifold pressure is
// compared against, 8 the manifold pressure (MAP), 9 N75.
namespace Stats {

struct Cells {
    int speed = 1;     // 003 field 0: engine speed
    int egr = 4;       // 003 field 3: EGR
    int reference = 7; // 011 field 1: specified boost
    int map = 8;       // 011 field 2: actual boost (MAP)
    int n75 = 9;       // 011 field 3: N75 duty

    // The cells of groups 003 and 011 logged as measuring groups `group003` and `group011` (0 for
    // A, 1 for B, 2 for C): A and B when either was not found (-1) or both stand in one group.
    static Cells forGroups(int group003, int group011);
};

QString MaxPico(const DataTable &table, const Cells &cells = {});          // "Pico Max MAP: ..."
QString TimeCarga(const DataTable &table, const Cells &cells = {});        // "Turbo cargado a ..."
QString VariacionPresion(const DataTable &table, const Cells &cells = {}); // "Tenemos una ..."
QString MaxN75(const DataTable &table, const Cells &cells = {}); // "Valor Maximo N75: ..."
QString MinEGR(const DataTable &table, const Cells &cells = {}); // "Valor Minimo EGR: ..."

// The five figures of one table, in the order the statistics run writes them.
struct Figures {
    QString maxPico;
    QString timeCarga;
    QString variacionPresion;
    QString maxN75;
    QString minEGR;
};
Figures Compute(const DataTable &table, const Cells &cells = {});

} // namespace Stats
