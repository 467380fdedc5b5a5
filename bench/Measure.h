#pragma once

#include <QString>

#include <functional>
#include <utility>
#include <vector>

// Timing and memory of one piece of work, the program's and the limit's.
namespace bench {

struct Sample {
    double ms = 0.0;
    double peakMiB = 0.0;   // the process's resident peak during the work
    double growthMiB = 0.0; // that peak above the resident size before it
};

// Runs work once after giving freed memory back and restarting the
// process's peak count, so the peak belongs to this work alone.
Sample measureOnce(const std::function<void()>& work);

// Runs before, work, after repeats times (before and after untimed) and
// keeps the median time and the highest peak.
Sample measure(int repeats, const std::function<void()>& work,
               const std::function<void()>& before = {}, const std::function<void()>& after = {});

// The program's work and the limit's take turns rounds times (before each
// round untimed), so both meet the disk in the same state; the medians of
// their times and their highest peaks.
std::pair<Sample, Sample> measureInTurns(int rounds, const std::function<void()>& product,
                                         const std::function<void()>& limit,
                                         const std::function<void()>& before = {});

double residentMiB();
double median(std::vector<double> values);

struct Result {
    QString work;
    qint64 items = 0; // case items, or 0 when bytes is set
    qint64 bytes = 0;
    Sample product;
    Sample limit;
    bool hasLimit = true;
};

// One line of progress on standard error.
void printRow(const Result& result);
// The table on standard output and the same figures as JSON.
void printTable(const std::vector<Result>& results);
void writeJson(const std::vector<Result>& results, const QString& path);

} // namespace bench
