#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {
namespace {

double statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

void restartPeak()
{
    malloc_trim(0);
    // "5" resets the peak resident size to the current one.
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

QString figure(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double residentMiB()
{
    return statusMiB("VmRSS");
}

Sample measureOnce(const std::function<void()>& work)
{
    restartPeak();
    const double before = residentMiB();
    QElapsedTimer timer;
    timer.start();
    work();
    Sample sample;
    sample.ms = double(timer.nsecsElapsed()) / 1e6;
    sample.peakMiB = statusMiB("VmHWM");
    sample.growthMiB = std::max(0.0, sample.peakMiB - before);
    return sample;
}

Sample measure(int repeats, const std::function<void()>& work, const std::function<void()>& before,
               const std::function<void()>& after)
{
    std::vector<double> times;
    Sample result;
    for (int i = 0; i < repeats; ++i) {
        if (before)
            before();
        const Sample one = measureOnce(work);
        if (after)
            after();
        times.push_back(one.ms);
        result.peakMiB = std::max(result.peakMiB, one.peakMiB);
        result.growthMiB = std::max(result.growthMiB, one.growthMiB);
    }
    result.ms = median(times);
    return result;
}

std::pair<Sample, Sample> measureInTurns(int rounds, const std::function<void()>& product,
                                         const std::function<void()>& limit,
                                         const std::function<void()>& before)
{
    Sample sample[2];
    std::vector<double> times[2];
    for (int i = 0; i < rounds; ++i) {
        if (before)
            before();
        const Sample one[2] = {measureOnce(product), measureOnce(limit)};
        for (int k = 0; k < 2; ++k) {
            times[k].push_back(one[k].ms);
            sample[k].peakMiB = std::max(sample[k].peakMiB, one[k].peakMiB);
            sample[k].growthMiB = std::max(sample[k].growthMiB, one[k].growthMiB);
        }
    }
    for (int k = 0; k < 2; ++k)
        sample[k].ms = median(times[k]);
    return {sample[0], sample[1]};
}

void printTable(const std::vector<Result>& results)
{
    std::printf("\n%-34s %12s %11s %11s %7s %10s %10s %10s\n", "work", "size", "product ms",
                "limit ms", "ratio", "peak MiB", "limit MiB", "growth MiB");
    for (const Result& r : results) {
        const QString size = r.bytes ? QStringLiteral("%1 MiB").arg(r.bytes >> 20)
                                     : QStringLiteral("%1 items").arg(r.items);
        const QString limit = r.hasLimit ? figure(r.limit.ms, 2) : QStringLiteral("-");
        const QString ratio = r.hasLimit && r.limit.ms > 0 ? figure(r.product.ms / r.limit.ms, 2)
                                                           : QStringLiteral("-");
        const QString limitPeak = r.hasLimit ? figure(r.limit.peakMiB) : QStringLiteral("-");
        std::printf("%-34s %12s %11s %11s %7s %10s %10s %10s\n", qPrintable(r.work),
                    qPrintable(size), qPrintable(figure(r.product.ms, 2)), qPrintable(limit),
                    qPrintable(ratio), qPrintable(figure(r.product.peakMiB)), qPrintable(limitPeak),
                    qPrintable(figure(r.product.growthMiB)));
    }
    std::fflush(stdout);
}

void printRow(const Result& r)
{
    std::fprintf(stderr, "measured %s (%lld %s): %.2f ms against %.2f ms\n", qPrintable(r.work),
                 r.bytes ? r.bytes >> 20 : r.items, r.bytes ? "MiB" : "items", r.product.ms,
                 r.limit.ms);
}

void writeJson(const std::vector<Result>& results, const QString& path)
{
    QJsonArray list;
    for (const Result& r : results) {
        QJsonObject o;
        o[QStringLiteral("work")] = r.work;
        if (r.bytes)
            o[QStringLiteral("bytes")] = r.bytes;
        else
            o[QStringLiteral("items")] = r.items;
        o[QStringLiteral("product_ms")] = r.product.ms;
        o[QStringLiteral("limit_ms")] = r.hasLimit ? QJsonValue(r.limit.ms) : QJsonValue();
        o[QStringLiteral("ratio")] =
            r.hasLimit && r.limit.ms > 0 ? QJsonValue(r.product.ms / r.limit.ms) : QJsonValue();
        o[QStringLiteral("peak_rss_mib")] = r.product.peakMiB;
        o[QStringLiteral("limit_peak_rss_mib")] =
            r.hasLimit ? QJsonValue(r.limit.peakMiB) : QJsonValue();
        o[QStringLiteral("rss_growth_mib")] = r.product.growthMiB;
        list.append(o);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(QJsonDocument(list).toJson());
    if (!file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace bench
