#include "CaseGenerator.h"

#include "RawSqlite.h"

#include <QFile>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr int kMaxDepth = 6;

const char* const kWords[] = {
    "witness", "testimony", "contract", "breach",   "damages", "notice",  "delivery",
    "invoice", "payment",   "warranty", "defect",   "expert",  "report",  "meeting",
    "letter",  "email",     "schedule", "evidence", "claim",   "defence", "liability",
    "the",     "of",        "and",      "to",       "in",      "was",     "that",
};

std::string words(std::mt19937& rng, int minChars, int maxChars)
{
    std::uniform_int_distribution<int> length(minChars, maxChars);
    std::uniform_int_distribution<int> pick(0, int(std::size(kWords)) - 1);
    const int target = length(rng);
    std::string text;
    text.reserve(std::size_t(target) + 16);
    while (int(text.size()) < target) {
        if (!text.empty())
            text += ' ';
        text += kWords[pick(rng)];
    }
    text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

void generateCase(const QString& path, const QString& schemaSql, int items)
{
    QFile::remove(path);
    RawDb db(path, true);
    // The page size of the program's own case files (the blank template's),
    // so documents and tables are timed on the files a user has.
    db.exec("PRAGMA page_size = 65536");
    db.exec(schemaSql.toStdString());
    db.exec("BEGIN");
    RawStatement insert(db, "INSERT INTO Issue (ID, ParentID, Name, Explanation, Question, Weight, "
                            "Success, Jury, Substantive, Procedural, Significance, ItemType) "
                            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    std::mt19937 rng(20261209u);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> rating(0, 10);
    // Issues that may still take children: (id, depth).
    std::vector<std::pair<int, int>> holders;
    const int atRoot = std::max(1, items / 5);
    for (int id = 1; id <= items; ++id) {
        int parent = 0;
        int depth = 1;
        if (id > atRoot && !holders.empty()) {
            // Recent issues are likelier parents, as cases grow branch by branch.
            std::uniform_int_distribution<std::size_t> recent(
                holders.size() > 200 ? holders.size() - 200 : 0, holders.size() - 1);
            const auto& [holder, holderDepth] =
                holders[percent(rng) < 70 ? recent(rng)
                                          : std::uniform_int_distribution<std::size_t>(
                                                0, holders.size() - 1)(rng)];
            parent = holder;
            depth = holderDepth + 1;
        }
        const int roll = percent(rng);
        const char* type = id <= atRoot ? (roll < 70   ? "Issue"
                                           : roll < 85 ? "Witness"
                                                       : "Exhibit")
                           : roll < 35  ? "Issue"
                           : roll < 60  ? "Question"
                           : roll < 80  ? "Witness"
                                        : "Exhibit";
        if (std::string(type) == "Issue" && depth < kMaxDepth)
            holders.emplace_back(id, depth);

        insert.bindInt(1, id);
        insert.bindInt(2, parent);
        insert.bindText(3, words(rng, 12, 60));
        insert.bindText(4, words(rng, 150, 1500));
        insert.bindText(5, words(rng, 40, 300));
        for (int column = 6; column <= 11; ++column) {
            // A few items were never rated.
            if (percent(rng) < 2)
                insert.bindNull(column);
            else
                insert.bindInt(column, rating(rng));
        }
        insert.bindText(12, type);
        insert.stepDone();
    }
    insert.finalize();
    db.exec("INSERT INTO Bookmarks (CodeID, Description) SELECT ID, Name FROM Issue "
            "WHERE ID % 97 = 0");
    db.exec("COMMIT");
}

void generateDocument(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::mt19937_64 rng(7u);
    std::vector<quint64> piece(1 << 17); // 1 MiB
    for (qint64 written = 0; written < bytes;) {
        for (quint64& word : piece)
            word = rng();
        const qint64 n = std::min<qint64>(bytes - written, qint64(piece.size() * 8));
        if (file.write(reinterpret_cast<const char*>(piece.data()), n) != n)
            throw std::runtime_error("cannot write " + path.toStdString());
        written += n;
    }
    file.flush();
    file.close();
}

} // namespace bench
