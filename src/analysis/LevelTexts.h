#pragma once

#include <QString>

#include <optional>
#include <vector>

// The level bands of the level study and the four advisory texts of each.
namespace levels {

struct Band {
    QString label;       // as the level list shows it, e.g. "Level 7 - 9"
    QString condition;   // WHERE clause on the average of the six ratings
};

// In list order, "Level 9 - 10" first.
const std::vector<Band>& bands();

struct Texts {
    QString problem;
    QString issue;
    QString comment;
    QString description;
};

// The four texts of the band with this label; recordsReturned is the
// found/total message some of them end with. None for an unknown label.
std::optional<Texts> textsFor(const QString& label, const QString& recordsReturned);

} // namespace levels
