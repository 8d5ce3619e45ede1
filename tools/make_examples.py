#!/usr/bin/env python3
"""Writes the sample logs in examples/: diesel.csv, petrol.csv, power.csv, sessions.csv, newer.csv
and pulls.csv.

Each log is one slow full-load pull in a high gear, as the KORVEX tool records it: a short spell
at idle, then engine speed climbing from about 900 to 4500 /min. The turbo is simulated rather
than drawn: a first-order boost response driven by a PI controller on the N75 valve, with an
integrator that winds up while the turbo cannot yet make the requested pressure. That gives what
a real log shows: actual boost lagging the request at low speed, then overshooting it a little
once the turbo has spooled.

sessions.csv holds two logging sessions appended in one file, as the tool writes them when logging
is started again into the same file: a diesel pull, then a second one after a change to the boost
request. newer.csv is a diesel pull in the tool's newer field-by-field layout: the four fields of
groups 003 and 011 in slots 1-8, two single fields of group 013 in slots 9-10, slots 11-12 unused,
and a time stamp before every value. pulls.csv is a diesel drive logged as the tool does in the
field (a row every 1 to 1.5 s, units on line 7 after STAMP, long names continued on line 6): idle,
two full-load pulls, a cruise and a pause in logging.

The output is deterministic (fixed seeds, fixed number formats), so running this again gives the
same bytes. Usage: tools/make_examples.py [--out DIR]   (default: examples/ beside tools/)
"""

import argparse
import datetime
import math
import os
import random

CRLF = "\r\n"


def fmt(value, places):
    """A number with a decimal point and a fixed number of places, never "-0.0"."""
    text = "%.*f" % (places, value)
    if text.startswith("-") and float(text) == 0:
        text = text[1:]
    return text


def interp(table, x):
    """Piecewise linear interpolation in a list of (x, y) pairs, clamped at both ends."""
    if x <= table[0][0]:
        return table[0][1]
    for (x0, y0), (x1, y1) in zip(table, table[1:]):
        if x <= x1:
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0)
    return table[-1][1]


def clamp(value, low, high):
    return max(low, min(high, value))


class Pull:
    """Engine speed, load and a simulated turbo over the time of one log."""

    def __init__(self, rng, rows, period, idle_rows, target_table, spool_table, overboost,
                 ambient):
        self.rng = rng
        self.period = period
        self.start = idle_rows * period
        self.end = rows * period
        self.target_table = target_table
        self.spool_table = spool_table
        self.overboost = overboost
        self.ambient = ambient
        # Turbo state, advanced in small fixed steps by advance().
        self.t = 0.0
        self.boost = ambient
        self.integral = 0.0
        self.duty = 38.0

    def progress(self, t):
        if t <= self.start:
            return 0.0
        return clamp((t - self.start) / (self.end - self.start), 0.0, 1.0)

    def speed(self, t):
        """Engine speed: idle, then a climb that is a little quicker in the middle of the band."""
        u = self.progress(t)
        if u == 0.0:
            return 900.0 + 6.0 * math.sin(t * 1.7)
        shaped = u - 0.06 * math.sin(2.0 * math.pi * u)
        return 905.0 + 3600.0 * shaped

    def pedal(self, t):
        """0 at idle, full load a moment after the pull starts."""
        if t <= self.start:
            return 0.0
        return clamp((t - self.start) / 0.8, 0.0, 1.0)

    def target(self, t):
        rpm = self.speed(t)
        full = interp(self.target_table, rpm)
        return 1000.0 + (full - 1000.0) * self.pedal(t)

    def available(self, rpm):
        """The highest pressure the turbo can make at this speed with the vanes fully closed."""
        return interp(self.spool_table, rpm)

    def advance(self, until):
        step = 0.02
        while self.t < until:
            rpm = self.speed(self.t)
            target = self.target(self.t)
            error = target - self.boost
            load = self.pedal(self.t)
            # PI control of the N75 duty; the integrator is allowed to wind up while the duty is
            # pinned at its top, which is what makes the boost overshoot after spooling.
            self.integral = clamp(self.integral + 0.05 * error * step * load, -20.0, self.overboost)
            # Feed-forward from the duty that would hold the request at this speed once spooled.
            spooled = max(self.available(max(rpm, 2600.0)) - 1000.0, 1.0)
            feed = 38.0 + 0.95 * 54.0 * clamp((target - 1000.0) / spooled, 0.0, 1.0)
            self.duty = clamp(feed + 0.035 * error + self.integral, 30.0, 92.0)
            # The turbo follows the duty with a lag; it cannot exceed what it can make at this speed
            # except by the small surplus the wound-up duty drives.
            reach = (self.duty - 30.0) / 62.0
            steady = self.ambient + (self.available(rpm) - self.ambient) * reach
            self.boost += (steady - self.boost) * step / 0.55
            self.t += step
        return self.boost


class Sampler:
    """Time stamps of the three groups of one row: each group is read a little after the last."""

    def __init__(self, rng, period, offset):
        self.rng = rng
        self.period = period
        self.offset = offset
        self.clock = 0.10

    def row(self):
        times = []
        t = self.clock
        for _ in range(3):
            times.append(t)
            t += self.offset + self.rng.uniform(-0.01, 0.01)
        self.clock += self.period + self.rng.uniform(-0.02, 0.02)
        return times


def header_lines(when, ecu, groups, names, units):
    weekday = when.strftime("%A")
    month = when.strftime("%B")
    stamp = "%02d:%02d:%02d:%05d" % (when.hour, when.minute, when.second, when.microsecond // 10)
    tool = "KORVEX Version: Release 11.2.4 (x64),Data version: 20250613 DS342.2"
    header = "%s,%d,%s,%d,%s,%s" % (weekday, when.day, month, when.year, stamp, tool)
    group_line = ",,Group A:,'%s,,,,Group B:,'%s,,,,Group C:,'%s,,," % groups
    name_fields = ["", ""]
    unit_fields = ["", ""]
    for index, (group_names, group_units) in enumerate(zip(names, units)):
        if index > 0:
            name_fields.append("TIME")
            unit_fields.append("")
        name_fields.extend(group_names)
        unit_fields.extend(group_units)
    marker = ["Marker", "TIME"] + (["STAMP"] * 4 + ["TIME"]) * 2 + ["STAMP"] * 4
    return [header, ecu, "", group_line, ",".join(name_fields), ",".join(unit_fields),
            ",".join(marker)]


def data_line(times, groups):
    """Field 0 empty, then per group its time stamp and four values."""
    fields = [""]
    for t, values in zip(times, groups):
        fields.append(fmt(t, 2))
        fields.extend(values)
    return ",".join(fields)


def noisy_speed(rng, pull, t):
    return "%d" % round(pull.speed(t) + rng.gauss(0.0, 5.0))


DIESEL_ECU = "03G 906 021 KM,BKD,R4 2.0L EDC G000AG 0914,"
DIESEL_NAMES = [
    ["Engine Speed", "EGR Air Mass (Spec.)", "EGR Air Mass (Act.)", "EGR Duty Cycle"],
    ["Engine Speed", "Boost Press. (Spec.)", "Boost Press. (Act.)", "Charge Press. Control"],
    ["Idle Qty Deviation Cyl1", "Idle Qty Deviation Cyl2", "Idle Qty Deviation Cyl3",
     "Idle Qty Deviation Cyl4"]]
DIESEL_UNITS = [["/min", "mg/H", "mg/H", "%"], ["/min", "mbar", "mbar", "%"],
                ["mg/H", "mg/H", "mg/H", "mg/H"]]
DIESEL_TARGET = [(900, 1000), (1300, 1550), (1800, 2150), (2200, 2380), (3200, 2380),
                 (4000, 2180), (4600, 1980)]


def diesel_rows(rng, rows, target_table=DIESEL_TARGET):
    """The rows of a diesel pull: per row the three groups' time stamps and values."""
    period = 0.24
    pull = Pull(rng, rows, period, idle_rows=28, target_table=target_table,
                spool_table=[(900, 1020), (1300, 1250), (1700, 1800), (2100, 2550),
                             (3000, 2750), (4600, 2600)],
                overboost=18.0, ambient=962.0)
    sampler = Sampler(rng, period, 0.08)
    for _ in range(rows):
        ta, tb, tc = sampler.row()
        yield (ta, tb, tc), diesel_groups(rng, pull, ta, tb, tc)


def diesel_groups(rng, pull, ta, tb, tc):
    """The values of groups 003, 011 and 013 read at times ta, tb and tc."""
    # Group 003: air mass and EGR; the EGR valve shuts as soon as the engine is under load.
    load = pull.pedal(ta)
    rpm = pull.speed(ta)
    air_req = interp([(900, 290), (1500, 560), (2500, 820), (4600, 880)], rpm)
    air_req = 290 + (air_req - 290) * load
    egr = 0.0
    if load < 0.6:
        egr = clamp(64.0 * (1.0 - 1.6 * load) + rng.gauss(0.0, 1.2), 0.0, 95.0)
    air_act = air_req * (0.97 if egr > 0 else 1.04) + rng.gauss(0.0, 6.0)
    group_a = [noisy_speed(rng, pull, ta), fmt(air_req, 1), fmt(air_act, 1), fmt(egr, 1)]
    # Group 011: requested and actual boost and the N75 duty.
    boost = pull.advance(tb)
    group_b = [noisy_speed(rng, pull, tb), "%d" % round(pull.target(tb)),
               "%d" % round(boost + rng.gauss(0.0, 7.0)),
               fmt(pull.duty + rng.gauss(0.0, 0.4), 1)]
    # Group 013: idle smoothness correction, only active at idle.
    at_idle = pull.pedal(tc) == 0.0
    cylinders = [0.42, -0.31, 0.18, -0.27]
    group_c = [fmt(c + rng.gauss(0.0, 0.05), 2) if at_idle else "0.00" for c in cylinders]
    return group_a, group_b, group_c


def diesel_log(rng, rows, when, target_table=DIESEL_TARGET):
    lines = header_lines(when, DIESEL_ECU, ("003", "011", "013"), DIESEL_NAMES, DIESEL_UNITS)
    for times, groups in diesel_rows(rng, rows, target_table):
        lines.append(data_line(times, groups))
    return lines


def diesel(rng):
    return diesel_log(rng, 420, datetime.datetime(2025, 3, 14, 10, 42, 17, 318450))


def sessions(rng):
    """Two sessions in one file: the second pull asks for 150 mbar more boost above 1800 /min."""
    first = diesel_log(rng, 260, datetime.datetime(2025, 6, 7, 9, 15, 2, 480010))
    raised = [(rpm, boost + 150 if rpm >= 1800 else boost) for rpm, boost in DIESEL_TARGET]
    second = diesel_log(rng, 300, datetime.datetime(2025, 6, 7, 9, 31, 44, 125300), raised)
    return first + second


def newer(rng):
    """A diesel pull in the newer layout: one id, name, unit and time stamp per slot."""
    when = datetime.datetime(2026, 2, 20, 17, 5, 9, 660120)
    slots = [("003", k) for k in range(4)] + [("011", k) for k in range(4)] + \
            [("013", 0), ("013", 1), ("000", 0), ("000", 0)]
    header = header_lines(when, DIESEL_ECU, ("003", "011", "013"), DIESEL_NAMES, DIESEL_UNITS)[0]

    def named(group, field, table):
        return "" if group == "000" else table[("003", "011", "013").index(group)][field]

    ids, id_texts, names, units = [], [], [], []
    for group, field in slots:
        ids += ["G" + group, "F%d" % field]
        id_texts += ["TIME", "" if group == "000" else "%s-%d" % (group, field)]
        names += ["STAMP", named(group, field, DIESEL_NAMES)]
        units += ["", named(group, field, DIESEL_UNITS)]
    lines = [header, DIESEL_ECU, ",," + ",".join(ids), "", "Marker," + ",".join(id_texts),
             "," + ",".join(names), "," + ",".join(units)]
    for (ta, tb, tc), values in diesel_rows(rng, 380):
        fields = [""]
        for slot, (group, field) in enumerate(slots):
            if group == "000":
                fields += ["", ""]
                continue
            index = ("003", "011", "013").index(group)
            stamp = (ta, tb, tc)[index] + 0.01 * (slot % 4)
            fields += [fmt(stamp, 2), values[index][field]]
        lines.append(",".join(fields))
    return lines


class Drive(Pull):
    """A drive rather than one pull: engine speed and load follow a schedule of (time, speed, load)
    points, straight lines between them."""

    def __init__(self, rng, schedule, **turbo):
        Pull.__init__(self, rng, rows=1, period=1.0, idle_rows=0, **turbo)
        self.schedule = schedule

    def speed(self, t):
        return interp([(at, rpm) for at, rpm, _ in self.schedule], t)

    def pedal(self, t):
        return interp([(at, load) for at, _, load in self.schedule], t)


# Idle, moving off, a pull in third gear (about 350 rpm/s), a lift and a cruise, logging paused
# while slowing down, then a longer pull in fourth gear (about 180 rpm/s) and idle again.
PULLS_SCHEDULE = [(0, 900, 0.0), (18, 900, 0.0), (20, 1400, 0.35), (24, 1450, 0.35),
                  (25, 1450, 1.0), (33.5, 4420, 1.0), (35, 2300, 0.0), (40, 2200, 0.3),
                  (95, 2250, 0.3), (100, 1500, 0.1), (112, 1300, 0.4), (114, 1300, 1.0),
                  (130, 4200, 1.0), (132, 2000, 0.0), (140, 900, 0.0), (152, 900, 0.0)]
PULLS_PAUSE = (100.5, 112.0)  # no rows are logged in between


def pulls(rng):
    """The diesel groups as logs from the field write them: a row every 1 to 1.5 s, long names
    continued on line 6 and the units on line 7 after STAMP, as "Marker,STAMP, /min, ..."."""
    when = datetime.datetime(2025, 10, 4, 8, 12, 40, 204470)
    header = header_lines(when, DIESEL_ECU, ("003", "011", "013"), DIESEL_NAMES, DIESEL_UNITS)
    names = [["Engine Speed", "EGR Air Mass", "EGR Air Mass", "EGR Duty Cycle"],
             ["Engine Speed", "Boost Pressure", "Boost Pressure", "Charge Press. Control"],
             ["Idle Qty Deviation"] * 4]
    continued = [["(G28)", "(specified)", "(actual)", ""],
                 ["(G28)", "(specified)", "(actual)", "25-92 %"],
                 ["Cyl. 1", "Cyl. 2", "Cyl. 3", "Cyl. 4"]]
    name_line, continued_line, unit_line = ["", ""], ["", ""], ["Marker", "STAMP"]
    for index in range(3):
        if index > 0:
            name_line.append("TIME")
            continued_line.append("")
            unit_line.append("STAMP")
        name_line.extend(names[index])
        continued_line.extend(continued[index])
        unit_line.extend(" " + unit for unit in DIESEL_UNITS[index])
    lines = header[:4] + [",".join(name_line), ",".join(continued_line), ",".join(unit_line)]
    drive = Drive(rng, PULLS_SCHEDULE, target_table=DIESEL_TARGET,
                  spool_table=[(900, 1020), (1300, 1250), (1700, 1800), (2100, 2550),
                               (3000, 2750), (4600, 2600)],
                  overboost=18.0, ambient=962.0)
    t = 0.31
    while t < PULLS_SCHEDULE[-1][0]:
        # The tool reads the three groups one after the other within a row.
        times = [t, t + rng.uniform(0.3, 0.4)]
        times.append(times[1] + rng.uniform(0.3, 0.4))
        lines.append(data_line(times, diesel_groups(rng, drive, *times)))
        t += rng.uniform(1.0, 1.5)
        if PULLS_PAUSE[0] < t < PULLS_PAUSE[1]:
            t = PULLS_PAUSE[1] + rng.uniform(0.0, 0.5)
    return lines


def petrol_groups(rng, pull, t_002, t_115):
    """Groups 002 (speed, load, injection time, air mass) and 115 (speed, load, boost)."""
    boost = pull.advance(t_002)
    rpm = pull.speed(t_002)
    load = 17.5 + (boost - 1000.0) / 8.2 + rng.gauss(0.0, 0.6)
    maf = rpm * load / 100.0 * 0.021 + rng.gauss(0.0, 0.3)
    injection = 1.6 + load * 0.075 + rng.gauss(0.0, 0.04)
    group_002 = [noisy_speed(rng, pull, t_002), fmt(load, 1), fmt(injection, 2), fmt(maf, 2)]
    boost = pull.advance(t_115)
    load = 17.5 + (boost - 1000.0) / 8.2 + rng.gauss(0.0, 0.6)
    group_115 = [noisy_speed(rng, pull, t_115), fmt(load, 1), "%d" % round(pull.target(t_115)),
                 "%d" % round(boost + rng.gauss(0.0, 6.0))]
    return group_002, group_115


PETROL_TARGET = [(900, 1000), (1500, 1450), (2200, 1980), (3800, 1980), (4600, 1820)]
PETROL_SPOOL = [(900, 1010), (1400, 1200), (1900, 1750), (2400, 2250), (4600, 2250)]


def petrol(rng):
    rows, period = 360, 0.26
    pull = Pull(rng, rows, period, idle_rows=24, target_table=PETROL_TARGET,
                spool_table=PETROL_SPOOL, overboost=10.0, ambient=1004.0)
    sampler = Sampler(rng, period, 0.085)
    lines = header_lines(
        datetime.datetime(2025, 5, 3, 16, 8, 55, 702210),
        "8J0 907 115 B,CDLA,2.0l R4/4V TFSI 0011,",
        ("002", "115", "031"),
        [["Engine Speed", "Engine Load", "Injection Timing", "Mass Air Flow"],
         ["Engine Speed", "Engine Load", "Boost Press. (Spec.)", "Boost Press. (Act.)"],
         ["Lambda (Act.)", "Lambda (Spec.)", "Ignition Timing", "Intake Air Temp."]],
        [["/min", "%", "ms", "g/s"], ["/min", "%", "mbar", "mbar"], ["-", "-", "deg", "C"]])
    for _ in range(rows):
        ta, tb, tc = sampler.row()
        group_002, group_115 = petrol_groups(rng, pull, ta, tb)
        # Group 031: mixture enrichment and timing under load, intake air warming up.
        load = pull.pedal(tc)
        rpm = pull.speed(tc)
        lam_req = 1.0 - 0.14 * load * clamp((rpm - 2500.0) / 2000.0, 0.0, 1.0)
        lam_act = lam_req + rng.gauss(0.0, 0.012)
        timing = 12.0 - 6.0 * load + 3.0 * load * clamp((rpm - 2000.0) / 2500.0, 0.0, 1.0)
        iat = 31.0 + 9.0 * pull.progress(tc) + rng.gauss(0.0, 0.3)
        group_031 = [fmt(lam_act, 3), fmt(lam_req, 3), fmt(timing + rng.gauss(0.0, 0.5), 1),
                     fmt(iat, 1)]
        lines.append(data_line((ta, tb, tc), (group_002, group_115, group_031)))
    return lines


def power(rng):
    rows, period = 480, 0.25
    pull = Pull(rng, rows, period, idle_rows=30, target_table=PETROL_TARGET,
                spool_table=PETROL_SPOOL, overboost=10.0, ambient=996.0)
    sampler = Sampler(rng, period, 0.08)
    lines = header_lines(
        datetime.datetime(2025, 9, 21, 11, 27, 4, 95530),
        "1K8 907 115 F,CCZA,2.0l R4/4V TFSI 0030,",
        ("120", "002", "115"),
        [["Engine Speed", "Torque (Spec.)", "Torque (Nm)", "Throttle Position"],
         ["Engine Speed", "Engine Load", "Injection Timing", "Mass Air Flow"],
         ["Engine Speed", "Engine Load", "Boost Press. (Spec.)", "Boost Press. (Act.)"]],
        [["/min", "Nm", "Nm", "%"], ["/min", "%", "ms", "g/s"], ["/min", "%", "mbar", "mbar"]])
    torque_curve = [(900, 150), (1500, 230), (1800, 280), (4200, 280), (4600, 255)]
    for _ in range(rows):
        ta, tb, tc = sampler.row()
        # Group 120: requested and delivered torque; delivered torque follows the boost.
        boost = pull.advance(ta)
        rpm = pull.speed(ta)
        load = pull.pedal(ta)
        torque_req = 22.0 + (interp(torque_curve, rpm) - 22.0) * load
        filled = clamp((boost - 1000.0) / max(pull.target(ta) - 1000.0, 1.0), 0.0, 1.08)
        actual = torque_req * (0.55 + 0.45 * filled) if load > 0 else torque_req
        throttle = 3.9 + 96.1 * load
        group_120 = [noisy_speed(rng, pull, ta), fmt(torque_req, 1),
                     fmt(actual + rng.gauss(0.0, 1.5), 1), fmt(throttle, 1)]
        group_002, group_115 = petrol_groups(rng, pull, tb, tc)
        lines.append(data_line((ta, tb, tc), (group_120, group_002, group_115)))
    return lines


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "examples"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, build, seed in (("diesel.csv", diesel, 2003), ("petrol.csv", petrol, 2115),
                              ("power.csv", power, 2120), ("sessions.csv", sessions, 2007),
                              ("newer.csv", newer, 2026), ("pulls.csv", pulls, 2031)):
        lines = build(random.Random(seed))
        path = os.path.join(args.out, name)
        with open(path, "w", encoding="ascii", newline="") as out:
            out.write(CRLF.join(lines) + CRLF)
        print("%s: %d lines" % (os.path.normpath(path), len(lines)))


if __name__ == "__main__":
    main()
