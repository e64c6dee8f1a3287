// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::ranges::sort(samples);
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return 0;
    std::ranges::sort(samples);
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    return samples[std::max<std::size_t>(rank, 1) - 1];
}

Spread spreadOf(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    return {median(samples), percentile(samples, 0.99), *std::ranges::max_element(samples)};
}

double toMs(std::chrono::nanoseconds duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString ratio(double value, double baseline)
{
    return baseline > 0 ? fixed(value / baseline) + QStringLiteral("×") : QStringLiteral("–");
}

void printRow(const QString& measure, const QString& korimo, const QString& baseline, const QString& comparison)
{
    std::printf("| %s | %s | %s | %s |\n", measure.toUtf8().constData(), korimo.toUtf8().constData(),
        baseline.toUtf8().constData(), comparison.toUtf8().constData());
    std::fflush(stdout);
}
