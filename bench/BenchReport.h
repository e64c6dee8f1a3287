// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <chrono>
#include <vector>

// The spread of a set of samples, as the table quotes it.
struct Spread {
    double median = 0;
    double p99 = 0; // nearest rank
    double max = 0;
};

double median(std::vector<double> samples);
// Nearest rank; `fraction` 0.9 is the 90th percentile.
double percentile(std::vector<double> samples, double fraction);
Spread spreadOf(std::vector<double> samples);

double toMs(std::chrono::nanoseconds duration);
QString fixed(double value, int decimals = 2);
// "1.42×": how many times the baseline's figure Korimo's is.
QString ratio(double value, double baseline);

// One row of the table that bench/run.sh prints: what was measured, Korimo's figure, the
// baseline's (or the ideal), and how the two compare.
void printRow(const QString& measure, const QString& korimo, const QString& baseline, const QString& comparison);
