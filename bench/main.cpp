// Times the program's own code paths on generated cases of growing size and,
// in the same run, the limit: the same reads and writes straight through
// SQLite (or cp and sync for documents). Prints a table and writes
// results.json. --quick runs the smallest case and a small document, so the
// test suite keeps this program working; its figures are never judged there.

#include "CaseGenerator.h"
#include "Measure.h"
#include "RawSqlite.h"

#include "analysis/LevelTexts.h"
#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/grid/GridCore.h"
#include "platform/widgets/QtSeams.h"
#include "reports/ReportBench.h"
#include "store/AppState.h"
#include "store/CFileObject.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/ErrorReport.h"
#include "store/forms/StoreWindows.h"
#include "workspace/frmRedoZiv.h"

#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Dao.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>
#include <stdexcept>

namespace {

using bench::Result;

// Answers the open dialog with the case chosen next; any message the
// program shows means a path failed, and the run with it.
class BenchPrompt final : public platform::Prompt {
public:
    QString nextFile;
    QStringList messages;

    platform::MsgAnswer message(const QString& text, platform::MsgButtons, platform::MsgIcon,
                                const QString&) override
    {
        messages << text;
        std::fprintf(stderr, "message shown: %s\n", qPrintable(text));
        return platform::MsgAnswer::OK;
    }
    platform::FileDialogResult fileDialog(const platform::FileDialogRequest&) override
    {
        return {nextFile, QFileInfo(nextFile).fileName()};
    }
    std::optional<QString> input(const QString& text, const QString&, const QString&) override
    {
        messages << text;
        return std::nullopt;
    }
    int showModal(const QString& windowName, const QVariantMap& values) override
    {
        messages << windowName + QLatin1Char(' ') +
                        values.value(QStringLiteral("Description")).toString();
        std::fprintf(stderr, "window shown: %s\n", qPrintable(messages.last()));
        return 0;
    }
    bool choosePrinter(QPrinter&, const QString&) override { return false; }
};

BenchPrompt* gPrompt = nullptr;
// --only: the works whose names hold this text; all when empty.
QString gOnly;

bool wanted(const QString& work)
{
    return gOnly.isEmpty() || work.contains(gOnly, Qt::CaseInsensitive);
}

void settle()
{
    QCoreApplication::processEvents();
}

void require(bool condition, const char* what)
{
    if (!condition)
        throw std::runtime_error(what);
    if (!gPrompt->messages.isEmpty())
        throw std::runtime_error("the program showed a message: " +
                                 gPrompt->messages.join(QStringLiteral(" | ")).toStdString());
}

int countNodes(QTreeWidgetItem* node)
{
    int n = 1;
    for (int i = 0; i < node->childCount(); ++i)
        n += countNodes(node->child(i));
    return n;
}

const QString kTreeSql =
    QStringLiteral("select ParentID, ID, Name, ItemType from Issue order by parentid and id");
const QString kJoin =
    QStringLiteral(" FROM Issue INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID");
const QString kGridSql =
    QStringLiteral(
        "SELECT Issue.ID as ID,Issue.Name as [Key Group], Issue_1.Name as Name, Issue_1.Weight as "
        "Weight, Issue_1.Success as Success, Issue_1.Jury as Jury, Issue_1.Substantive as "
        "Instructions, Issue_1.Procedural as Evidentiary, Issue_1.Significance as Significance") +
    kJoin;
const char* const kRatings[] = {"Weight",      "Success",    "Jury",
                                "Substantive", "Procedural", "Significance"};

// One statistic of every rating per parent, as the subtotal rows hold them.
QString groupedSql(const QString& statistic)
{
    QStringList columns{QStringLiteral("Issue.ID")};
    for (const char* rating : kRatings)
        columns << QString(statistic).replace(QStringLiteral("%x"),
                                              QStringLiteral("Issue_1.") + QLatin1String(rating));
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + kJoin +
           QStringLiteral(" GROUP BY Issue.ID ORDER BY Issue.ID");
}

void readAll(const QString& path, const QStringList& queries)
{
    bench::RawDb db(path);
    for (const QString& sql : queries)
        (void)bench::readAll(db, sql.toStdString());
}

void benchCase(const QString& casePath, int items, int repeats, std::vector<Result>& results)
{
    auto add = [&](const QString& work, bench::Sample product, bench::Sample limit) {
        Result r;
        r.work = work;
        r.items = items;
        r.product = product;
        r.limit = limit;
        results.push_back(r);
        bench::printRow(r);
    };

    // Open to a filled tree, from a main window that has no case yet.
    if (wanted(QStringLiteral("open to a filled tree"))) {
        std::unique_ptr<frmRedoZiv> window;
        const auto product = bench::measure(
            repeats,
            [&] {
                window->mnuFileOpen_Click();
                settle();
            },
            [&] {
                // The window's start-up asks for a case too: it is given none,
                // so the open starts from an empty window, not from closing
                // the case of the round before.
                gPrompt->nextFile.clear();
                window = std::make_unique<frmRedoZiv>();
                window->show();
                settle();
                require(window->tvIssueItems()->topLevelItemCount() == 0,
                        "the window opened a case before the open was timed");
                gPrompt->nextFile = casePath;
            },
            [&] {
                QTreeWidget* tree = window->tvIssueItems();
                // Branches get their nodes when first opened: all are made
                // for the count, once the open was timed.
                if (tree->topLevelItemCount() == 1)
                    window->showBranch(tree->topLevelItem(0));
                require(tree->topLevelItemCount() == 1 &&
                            countNodes(tree->topLevelItem(0)) == items + 1,
                        "the tree does not hold every item");
                window.reset();
                settle();
                resetAppState();
            });
        const auto limit = bench::measure(repeats, [&] {
            readAll(casePath, {kTreeSql, QStringLiteral("select * from Bookmarks")});
        });
        add(QStringLiteral("open to a filled tree"), product, limit);

        // A floor inside the open: the engine's check of the item and
        // bookmark tables that refuses a damaged case. The tree is read on
        // a thread of its own meanwhile, so the open costs the longer of
        // the two, not their sum.
        Result check;
        check.items = items;
        check.hasLimit = false;
        check.work = QStringLiteral("open: damage check alone");
        check.product = bench::measure(repeats, [&] {
            readAll(casePath, {QStringLiteral("PRAGMA quick_check('Issue')"),
                               QStringLiteral("PRAGMA quick_check('Bookmarks')")});
        });
        results.push_back(check);
        bench::printRow(check);
    }

    // The analysis grid and its studies, as the grid tab shows them.
    oMain().setStrFileName(casePath);
    QWidget pane;
    pane.resize(1200, 800);
    pane.show();
    if (wanted(QStringLiteral("analysis grid load"))) {
        const auto product = bench::measure(
            repeats,
            [&] {
                analysisforms::loadIssueWindow(&pane);
                settle();
            },
            {},
            [&] {
                require(analysisforms::issueWindow()->grid().rows() > 1, "the grid is empty");
                analysisforms::unloadIssueWindow();
                settle();
            });
        const auto limit = bench::measure(repeats, [&] {
            readAll(casePath, {kGridSql, groupedSql(QStringLiteral("count(%x)"))});
        });
        add(QStringLiteral("analysis grid load"), product, limit);
    }

    frmIssue* grid = analysisforms::loadIssueWindow(&pane);
    require(grid != nullptr, "the grid window did not load");
    struct Method {
        const char* name;
        int code;
        const char* statistic;
    };
    const Method methods[] = {
        {"COUNT", grid::SubtotalCount, "count(%x)"},
        {"AVG", grid::SubtotalAverage, "avg(%x)"},
        {"MIN", grid::SubtotalMin, "min(%x)"},
        {"MAX", grid::SubtotalMax, "max(%x)"},
        {"STDEV", grid::SubtotalStdDev,
         "sqrt((sum(%x*%x) - sum(%x)*sum(%x)/count(%x)) / (count(%x) - 1))"},
        {"VAR", grid::SubtotalVariance,
         "(sum(%x*%x) - sum(%x)*sum(%x)/count(%x)) / (count(%x) - 1)"},
        {"PERCENT", grid::SubtotalPercent,
         "100.0 * sum(%x) / (SELECT sum(Issue_2.Weight) FROM Issue AS Issue_2)"},
    };
    for (const Method& m : methods) {
        if (!wanted(QStringLiteral("sort and subtotal %1").arg(QLatin1String(m.name))))
            continue;
        const auto product = bench::measure(repeats, [&] { grid->SortAndShow(m.code); });
        require(grid->grid().rows() > 1, "the subtotals emptied the grid");
        const auto limit = bench::measure(
            repeats, [&] { readAll(casePath, {groupedSql(QLatin1String(m.statistic))}); });
        add(QStringLiteral("sort and subtotal %1").arg(QLatin1String(m.name)), product, limit);
    }

    if (wanted(QStringLiteral("grid report to PDF"))) {
        // The grid report of the grid as loaded, with its count subtotals.
        grid->SortAndShow(grid::SubtotalCount);
        const QString pdf = QDir(QFileInfo(casePath).path()).filePath(QStringLiteral("grid.pdf"));
        const auto product = bench::measure(
            repeats, [&] { reports::renderGridReportPdf(grid->grid(), pdf); }, {},
            [&] { require(QFileInfo(pdf).size() > 0, "the grid report wrote no PDF"); });
        const auto limit = bench::measure(repeats, [&] { readAll(casePath, {kGridSql}); });
        add(QStringLiteral("grid report to PDF"), product, limit);
        QFile::remove(pdf);
    }

    if (wanted(QStringLiteral("level study"))) {
        const QString band = QStringLiteral("Level 5 - 7");
        QString condition;
        for (const levels::Band& b : levels::bands())
            if (b.label == band)
                condition = b.condition;
        const auto product = bench::measure(
            repeats,
            [&] {
                grid->cboLevel_Click();
                settle();
            },
            [&] { grid->cboLevel()->setCurrentText(band); },
            [&] { require(grid->grid().rows() > 1, "the level study found nothing"); });
        const auto limit = bench::measure(repeats, [&] {
            readAll(casePath,
                    {QStringLiteral("SELECT Name, Explanation,Question,Weight, Success, Jury, "
                                    "Substantive, Procedural, Significance FROM Issue ") +
                         condition,
                     QStringLiteral("SELECT * from Issue")});
        });
        add(QStringLiteral("level study"), product, limit);
    }
    analysisforms::unloadAnalysisWindows();
    settle();

    if (wanted(QStringLiteral("case analysis report to PDF"))) {
        const QString pdf =
            QDir(QFileInfo(casePath).path()).filePath(QStringLiteral("analysis.pdf"));
        const auto product = bench::measure(
            repeats, [&] { reports::renderCaseAnalysisPdf(casePath, pdf); }, {},
            [&] { require(QFileInfo(pdf).size() > 0, "the case analysis report wrote no PDF"); });
        // Its reads: the averages, the deviations and the chosen band's count.
        QStringList ratings;
        QStringList deviations;
        for (const char* r : kRatings) {
            const QString x = QStringLiteral("Issue.") + QLatin1String(r);
            ratings << QStringLiteral("avg(%1)").arg(x);
            deviations << QStringLiteral("sqrt((sum(%1*%1) - sum(%1)*sum(%1)/count(%1)) / "
                                         "(count(%1) - 1))")
                              .arg(x);
        }
        QString condition;
        for (const levels::Band& b : levels::bands())
            if (b.label == QLatin1String("Level 5 - 7"))
                condition = b.condition;
        const auto limit = bench::measure(repeats, [&] {
            readAll(casePath, {QStringLiteral("select count(Issue.ID), %1 from Issue")
                                   .arg(ratings.join(QStringLiteral(", "))),
                               QStringLiteral("select count(Issue.ID), %1 from Issue")
                                   .arg(deviations.join(QStringLiteral(", "))),
                               QStringLiteral("SELECT count(Issue.ID) FROM Issue ") + condition});
        });
        add(QStringLiteral("case analysis report to PDF"), product, limit);
        QFile::remove(pdf);
    }

    if (wanted(QStringLiteral("one edit and commit"))) {
        auto db = dao::DBEngine::OpenDatabase(casePath);
        const QString key = QString::number(items / 2 + 1);
        int round = 0;
        // A single write waits for the disk; more rounds steady the median.
        const int writes = repeats * 3;
        const auto edit = [&] {
            CIssue item;
            item.Initialise(db, key);
            item.setExplanation(QStringLiteral("Edited by the program, round %1").arg(++round));
            item.Commit();
        };
        bench::RawDb raw(casePath);
        bench::RawStatement read(raw, "SELECT * FROM Issue WHERE ID = ?");
        bench::RawStatement write(raw, "UPDATE Issue SET Explanation = ? WHERE ID = ?");
        const auto editStraight = [&] {
            read.bindInt(1, key.toLongLong());
            while (read.step())
                for (int c = 0; c < read.columns(); ++c)
                    (void)read.text(c);
            read.reset();
            write.bindText(1, "Edited straight, round " + std::to_string(++round));
            write.bindInt(2, key.toLongLong());
            write.stepDone();
        };
        // The disk settles after the earlier work: the first rounds are not
        // counted, then the two take turns.
        for (int i = 0; i < 3; ++i) {
            edit();
            editStraight();
        }
        const auto [product, limit] = bench::measureInTurns(writes, edit, editStraight);
        db->Close();
        add(QStringLiteral("one edit and commit"), product, limit);
    }
    resetAppState();
}

// cp and sync: the fastest a file's bytes can be copied and made durable.
void copyAndSync(const QString& from, const QString& to)
{
    const int code = QProcess::execute(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1\" && sync \"$1\""), from, to});
    if (code != 0)
        throw std::runtime_error("cp and sync failed");
}

void benchDocuments(const QString& folder, const QString& casePath, qint64 bytes, int rounds,
                    std::vector<Result>& results)
{
    const QString source = QDir(folder).filePath(QStringLiteral("document.bin"));
    const QString exported = QDir(folder).filePath(QStringLiteral("exported.bin"));
    const QString copied = QDir(folder).filePath(QStringLiteral("copied.bin"));
    // Each round stores into a fresh copy of the case, so no round reuses
    // the pages another one freed.
    const QString roundCase = QDir(folder).filePath(QStringLiteral("document case.AGV"));
    bench::generateDocument(source, bytes);

    std::shared_ptr<dao::Database> db;
    QString key;
    const auto freshCase = [&] {
        if (db)
            db->Close();
        db.reset();
        QFile::remove(roundCase);
        QFile::remove(copied);
        if (!QFile::copy(casePath, roundCase))
            throw std::runtime_error("cannot copy the case for a document round");
        db = dao::DBEngine::OpenDatabase(roundCase);
    };
    const auto storeDocument = [&] {
        CFileObject doc;
        doc.Initialise(db, QString());
        doc.setCodeID(QStringLiteral("1"));
        doc.setStoredFile(source);
        doc.Commit();
        key = doc.Key();
    };
    // The copies of the round before are removed untimed, on both sides.
    const auto copyFile = [&] { copyAndSync(source, copied); };
    Result store;
    store.work = QStringLiteral("store a document");
    store.bytes = bytes;
    std::tie(store.product, store.limit) =
        bench::measureInTurns(rounds, storeDocument, copyFile, freshCase);
    results.push_back(store);
    bench::printRow(store);

    Result exportDoc;
    exportDoc.work = QStringLiteral("export a document");
    exportDoc.bytes = bytes;
    std::tie(exportDoc.product, exportDoc.limit) = bench::measureInTurns(
        rounds,
        [&] {
            CFileObject doc;
            doc.Initialise(db, key);
            doc.SaveToFile(exported);
            if (QFileInfo(exported).size() != bytes)
                throw std::runtime_error("the exported document differs in size");
        },
        copyFile,
        [&] {
            QFile::remove(exported);
            QFile::remove(copied);
        });
    results.push_back(exportDoc);
    bench::printRow(exportDoc);
    db->Close();
    for (const QString& f : {source, exported, copied, roundCase})
        QFile::remove(f);
}

} // namespace

// The offscreen platform warns about every window it cannot size; noise here.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

namespace {

struct Options {
    QString out;
    bool quick = false;
    std::vector<int> sizes;
    qint64 documentBytes = 0;
    int repeats = 5;
};

// An option the program does not know, or a number that is none, stops the
// run before it starts: a mistyped option must not cost a whole run.
Options parseOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times the program's own code paths against the same work done straight through "
        "SQLite, and writes results.json."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("The smallest case and a 64 MiB document."));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Folder for the cases and results.json."),
                                 QStringLiteral("folder"), QDir::currentPath());
    const QCommandLineOption items(QStringLiteral("items"),
                                   QStringLiteral("Case sizes, e.g. 10000,100000."),
                                   QStringLiteral("counts"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Only the works whose names hold this text."),
                                  QStringLiteral("text"));
    const QCommandLineOption repeats(QStringLiteral("repeats"),
                                     QStringLiteral("Runs per figure; the median is kept."),
                                     QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption documentMib(QStringLiteral("document-mib"),
                                         QStringLiteral("Document size; 0 for none."),
                                         QStringLiteral("MiB"));
    parser.addOptions({quick, out, items, only, repeats, documentMib});
    parser.process(app);

    const auto number = [](const QCommandLineOption& option, const QString& text, qint64 least,
                           qint64 most) {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (!ok || value < least || value > most)
            throw std::runtime_error(
                QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                    .arg(option.names().first())
                    .arg(least)
                    .arg(most)
                    .arg(text)
                    .toStdString());
        return value;
    };
    Options options;
    options.out = parser.value(out);
    options.quick = parser.isSet(quick);
    options.sizes = options.quick ? std::vector<int>{1000} : std::vector<int>{1000, 10000, 100000};
    // The largest round size under the billion bytes one stored value may
    // hold, as near a gigabyte as a document can be.
    options.documentBytes = options.quick ? (qint64(64) << 20) : (qint64(950) << 20);
    if (parser.isSet(items)) {
        options.sizes.clear();
        for (const QString& n : parser.value(items).split(QLatin1Char(',')))
            options.sizes.push_back(int(number(items, n, 1, 10'000'000)));
    }
    gOnly = parser.value(only);
    options.repeats = int(number(repeats, parser.value(repeats), 1, 1000));
    // A few GiB at most: a document past the billion bytes one value holds
    // is refused, which is worth trying, and the size stays far from overflow.
    if (parser.isSet(documentMib))
        options.documentBytes = number(documentMib, parser.value(documentMib), 0, 4096) << 20;
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Options options;
    try {
        options = parseOptions(app);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    const QString& out = options.out;
    std::vector<Result> results;
    try {
        QDir().mkpath(out);
        const QString folder = QDir(out).filePath(QStringLiteral("bench-cases"));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        // The program's settings and folders stay inside the benchmark's.
        QTemporaryDir settings(QDir(out).filePath(QStringLiteral("settings-XXXXXX")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        appinfo::setProgramFolder(folder);
        QDir(folder).mkpath(QStringLiteral("cases"));

        platform::installQtSeams();
        registerStoreWindows();
        BenchPrompt prompt;
        gPrompt = &prompt;
        platform::setPrompt(&prompt);

        QFile schemaFile(QStringLiteral(ARGOVO_SCHEMA_SQL));
        if (!schemaFile.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the blank-case script");
        const QString schema = QString::fromUtf8(schemaFile.readAll());

        const bool quick = options.quick;
        const std::vector<int>& sizes = options.sizes;
        const qint64 documentBytes = options.documentBytes;
        const int repeats = options.repeats;
        QString smallest;
        for (int items : sizes) {
            const QString path = QDir(folder).filePath(QStringLiteral("Case %1.AGV").arg(items));
            bench::generateCase(path, schema, items);
            if (smallest.isEmpty())
                smallest = path;
            benchCase(path, items, repeats, results);
        }
        if (documentBytes > 0 && (wanted(QStringLiteral("store a document")) ||
                                  wanted(QStringLiteral("export a document"))))
            benchDocuments(folder, smallest, documentBytes, quick ? 1 : 3, results);

        bench::printTable(results);
        const QString json = QDir(out).filePath(QStringLiteral("results.json"));
        bench::writeJson(results, json);
        std::printf("figures written to %s\n", qPrintable(json));
        QDir(folder).removeRecursively();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", qPrintable(report::describe(e)));
        // What was measured before the failure is kept.
        if (!results.empty()) {
            bench::printTable(results);
            try {
                bench::writeJson(results, QDir(out).filePath(QStringLiteral("results.json")));
            } catch (const std::exception& inner) {
                std::fprintf(stderr, "%s\n", inner.what());
            }
        }
        return 1;
    }
}
