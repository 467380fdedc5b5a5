#include "analysis/forms/frmIssue.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/StudyQueries.h"
#include "analysis/forms/ListText.h"
#include "analysis/forms/WindowLine.h"
#include "analysis/forms/frmReport.h"
#include "platform/core/AppError.h"
#include "platform/core/Shell.h"
#include "platform/core/Twips.h"
#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Ado.h"
#include "platform/grid/GridCore.h"
#include "platform/grid/GridView.h"
#include "store/AppState.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

const QString kNone = QStringLiteral("NONE");
const QString kProvider = QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString kLoadSql = QStringLiteral(
    "SELECT Issue.ID as ID,Issue.Name as [Key Group], Issue_1.Name as Name, Issue_1.Weight as "
    "Weight, Issue_1.Success as Success, Issue_1.Jury as Jury, Issue_1.Substantive as "
    "Instructions, Issue_1.Procedural as Evidentiary, Issue_1.Significance as Significance FROM "
    "Issue INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID;");
const QString kRatingFormat = QStringLiteral("'.0");

using analysisforms::line;
using analysisforms::setListText;

struct ColumnLayout {
    int col;
    const char* header;
    int width; // twips
    bool merge;
    bool format;
};

constexpr std::array<ColumnLayout, 9> kLevelLayout{{
    {1, "Key Group", 1700, true, false},
    {2, "Rule", 2500, true, false},
    {3, "", 0, false, false},
    {4, "Weight", 760, true, false},
    {5, "Success", 760, true, true},
    {6, "Jury", 760, true, true},
    {7, "Instructions", 660, true, true},
    {8, "Evidence", 1060, true, true},
    {9, "Significance", 1060, true, true},
}};

// Column 1's header is decided by the study; nullptr keeps it.
constexpr std::array<ColumnLayout, 9> kStandardLayout{{
    {1, nullptr, 760, true, false},
    {2, "Key Group", 1750, true, false},
    {3, "Rule", 2000, true, false},
    {4, "Weight", 760, true, true},
    {5, "Success", 760, true, true},
    {6, "Jury", 660, true, true},
    {7, "Instructions", 1060, true, true},
    {8, "Evidence", 1060, true, true},
    {9, "Significance", 1060, true, true},
}};

constexpr int kLastGridColumn = 9;

// A new binding shows its fields in field order: columns dragged for one
// study mean something else in the next, and Refresh is the way back.
void bindInFieldOrder(grid::GridCore& g, const ado::Recordset& recordset)
{
    g.setDataSource(recordset);
    for (int c = 0; c < g.cols(); ++c)
        g.moveColumn(c, c);
}

} // namespace

frmIssue::frmIssue(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmIssue"));
    setWindowTitle(QStringLiteral("Issue"));
    buildControls();
}

frmIssue::~frmIssue()
{
    if (m_loaded)
        Form_Unload();
}

void frmIssue::buildControls()
{
    auto name = [](QWidget* w, const char* objectName) {
        w->setObjectName(QLatin1String(objectName));
        return w;
    };

    m_picButtons = name(new QWidget(this), "picButtons");
    m_frame1 = static_cast<QGroupBox*>(name(
        new QGroupBox(QStringLiteral("  Method            |         Levels                 |  "
                                     "Value                 |     Range       |         Run    "
                                     "      |   Refresh"),
                      m_picButtons),
        "Frame1"));

    auto makeCombo = [&](const char* objectName, int widthTwips) {
        auto* combo = new QComboBox(m_frame1);
        combo->setObjectName(QLatin1String(objectName));
        // A drop-down combo: a text can be typed as well as chosen, and a
        // typed text is not added to the list.
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // A typed text stands for an item only when it is that item's text
        // exactly: "avg" is no method.
        combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
        combo->setFixedWidth(twips::toPixels(widthTwips));
        return combo;
    };
    m_cboMethod = makeCombo("cboMethod", 1500);
    m_cboLevel = makeCombo("cboLevel", 1900);
    m_dialRange = static_cast<QLineEdit*>(name(new QLineEdit(m_frame1), "dialRange"));
    m_dialRange->setFixedWidth(twips::toPixels(900));

    m_updown = name(new QWidget(m_frame1), "updown");
    auto* updownLayout = new QVBoxLayout(m_updown);
    updownLayout->setContentsMargins(0, 0, 0, 0);
    updownLayout->setSpacing(0);
    auto* up = new QToolButton(m_updown);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(m_updown);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(twips::toPixels(255), twips::toPixels(165));
        updownLayout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { stepUpDown(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepUpDown(-1); });

    m_cboRange = makeCombo("cboRange", 1100);
    m_cmdAnalyze = static_cast<QPushButton*>(
        name(new QPushButton(QStringLiteral("Run Study"), m_frame1), "cmdAnalyze"));
    m_cmdRefresh = static_cast<QPushButton*>(
        name(new QPushButton(QStringLiteral("Refresh"), m_frame1), "cmdRefresh"));

    auto* inputs = new QHBoxLayout(m_frame1);
    inputs->addWidget(m_cboMethod);
    inputs->addWidget(m_cboLevel);
    inputs->addWidget(m_dialRange);
    inputs->addWidget(m_updown);
    inputs->addWidget(m_cboRange);
    inputs->addWidget(m_cmdAnalyze);
    inputs->addWidget(m_cmdRefresh);
    inputs->addStretch();

    m_cmdReport = static_cast<QPushButton*>(
        name(new QPushButton(QStringLiteral("Send to Report"), m_picButtons), "cmdReport"));
    m_optMerge[0] = new QRadioButton(QStringLiteral("Merge Cells"), m_picButtons);
    m_optMerge[1] = new QRadioButton(QStringLiteral("No Merge"), m_picButtons);
    for (int i = 0; i < 2; ++i) {
        m_optMerge[i]->setObjectName(QStringLiteral("optMerge"));
        m_optMerge[i]->setProperty("index", i);
    }
    m_optMerge[0]->setChecked(true);

    auto* buttons = new QHBoxLayout(m_picButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_frame1);
    auto* side = new QVBoxLayout;
    side->addWidget(m_cmdReport);
    side->addWidget(m_optMerge[0]);
    side->addWidget(m_optMerge[1]);
    buttons->addLayout(side);
    buttons->addStretch();

    m_pnlInfo = static_cast<QLabel*>(name(new QLabel(this), "pnlInfo"));
    m_pnlInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    m_fg = static_cast<grid::GridView*>(name(new grid::GridView(this), "fg"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picButtons);
    layout->addWidget(m_pnlInfo);
    // The grid is at least as wide as SetupForm makes it and fills the rest.
    layout->addWidget(m_fg, 1);

    connect(m_cmdRefresh, &QPushButton::clicked, this, &frmIssue::cmdRefresh_Click);
    // Only the user's choice runs a study; texts set by code do not.
    connect(m_cboLevel, &QComboBox::activated, this, &frmIssue::cboLevel_Click);
    connectStudies();
    connectGridEvents();
}

void frmIssue::stepUpDown(int delta)
{
    line("updown_Change", 1, [&] {
        // The spinner steps from the number in the box, typed or not, read
        // as a study reads it ("2.0" is 2); from its own last number when
        // the box holds none.
        try {
            m_updownValue = studies::rangeValue(m_dialRange->text());
        } catch (const AppError&) {
        }
        m_updownValue = std::clamp(m_updownValue + delta, 0, 10);
        m_dialRange->setText(QString::number(m_updownValue));
    });
}

grid::GridCore& frmIssue::grid() const
{
    return m_fg->core();
}

QRadioButton* frmIssue::optMerge(int index) const
{
    return (index == 0 || index == 1) ? m_optMerge[index] : nullptr;
}

void frmIssue::setRsFlexgrid(std::shared_ptr<ado::Recordset> recordset)
{
    m_rsFlexgrid = std::move(recordset);
}

void frmIssue::Form_Load()
{
    m_loaded = true;
    setAnalysisView(this);
    setAnalysisHost(this);
    setAdvisoryWindow(&frmReportWriter());

    line("Form_Load", 1, [&] { oUtility().setFormIssueLoaded(true); });
    line("Form_Load", 2, [&] {
        InitializeCBOLevel();
        InitializeCBOMethod();
        InitializeCBORange();
        InitializeDialRange();
    });
    line("Form_Load", 3, [&] { LoadData(); });
    line("Form_Load", 4, [&] {
        SetMethodCBOS(true);
        m_cmdAnalyze->setEnabled(false);
    });
}

void frmIssue::Form_Unload()
{
    line("Form_Unload", 1, [&] { platform::screen().setMousePointer(0); });
    line("Form_Unload", 2, [&] { oUtility().setFormIssueLoaded(false); });
    if (analysisView() == this)
        setAnalysisView(nullptr);
    if (analysisHost() == this)
        setAnalysisHost(nullptr);
    m_loaded = false;
}

void frmIssue::LoadData()
{
    const char* p = "LoadData";
    std::shared_ptr<ado::Connection> connection;
    line(p, 1, [&] {
        connection = ado::Connection::create();
        connection->setCursorLocation(ado::adUseClient);
        connection->Open(kProvider + ado::dataSourceValue(oMain().strFileName()), QString(),
                         QString(), ado::adOptionUnspecified);
    });
    line(p, 2, [&] {
        // The previous recordset's connection goes with it.
        m_rsFlexgrid = ado::Recordset::create();
        m_flexConnection = connection;
        grid().clear();
        m_studyMethod = kNone;
    });
    line(p, 3, [&] { oUtility().setSSQL(kLoadSql); });
    const bool connected = connection && connection->State() == ado::adStateOpen;
    line(p, 4, [&] {
        // A case that could not be opened was reported above; its empty
        // grid needs no second message.
        if (connected)
            m_rsFlexgrid->Open(oUtility().sSQL(), connection, ado::adOpenStatic,
                               ado::adLockOptimistic, ado::adOptionUnspecified);
    });
    const bool opened = m_rsFlexgrid && m_rsFlexgrid->State() == ado::adStateOpen;
    line(p, 5, [&] {
        if (opened)
            bindInFieldOrder(grid(), *m_rsFlexgrid);
    });
    line(p, 6, [&] {
        const int n = opened ? m_rsFlexgrid->RecordCount() : 0;
        m_pnlInfo->setText(QStringLiteral("     Viewing all records, count is: ") +
                           QString::number(n) +
                           QStringLiteral(" records returned.  Double-click any Key-Group or "
                                          "Rule to view its entirety."));
    });
    line(p, 7, [&] {
        ShowOnLoad();
        SetMerge();
    });
    line(p, 8, [&] {
        grid().setDisplayOptions(1, 3);
        grid().setMergeCells(grid::MergeCells);
    });
    line(p, 9, [&] { SetupForm(); });
}

void frmIssue::ShowOnLoad()
{
    line("ShowOnLoad", 1, [&] { SortAndShow(grid::SubtotalCount); });
}

void frmIssue::SortAndShow(int lFunction)
{
    const char* p = "SortAndShow";
    grid::GridCore& g = grid();
    int row = 0;
    int col = 0;
    // Edits and column moves subtotal again with the function of the study
    // on show.
    m_studyFunction = lFunction;
    line(p, 1, [&] {
        g.setRedraw(grid::RedrawOff);
        row = g.row();
        col = g.col();
    });
    line(p, 2, [&] {
        g.setCol(0);
        g.setColSel(g.cols() - 1);
    });
    line(p, 3, [&] { g.sort(grid::SortGenericAscending); });
    line(p, 4, [&] { g.subtotal(grid::SubtotalClear); });
    line(p, 5, [&] {
        // A grid that holds fewer columns (nothing could be loaded) has
        // nothing to total in the missing ones.
        const int last = std::min(kLastGridColumn, g.cols() - 1);
        for (int c = 4; c <= last; ++c)
            g.subtotal(lFunction, 1, c, QString(), std::nullopt, c == 4 ? grid::kRed : grid::kBlue,
                       true);
    });
    line(p, 6, [&] {
        g.setRow(std::min(row, g.rows() - 1));
        g.setCol(std::min(col, g.cols() - 1));
        g.setRedraw(grid::RedrawOn);
    });
}

void frmIssue::SetMerge()
{
    const char* p = "SetMerge";
    grid::GridCore& g = grid();
    line(p, 1, [&] {
        if (g.cols() <= kLastGridColumn)
            g.setCols(kLastGridColumn + 1);
    });
    auto apply = [&](const ColumnLayout& c) {
        if (c.header)
            g.setCell(grid::CellText, 0, c.col, QString::fromLatin1(c.header));
        g.setColWidth(c.col, c.width);
        g.setColFormat(c.col, c.format ? kRatingFormat : QString());
    };

    bool levelLayout = false;
    line(p, 2,
         [&] { levelLayout = m_cboLevel->currentText() != kNone && oReport().LevelInPlay(); });
    if (levelLayout) {
        line(p, 3, [&] {
            for (const ColumnLayout& c : kLevelLayout) {
                apply(c);
                g.setMergeCol(c.col, c.merge);
            }
        });
        line(p, 4, [&] {
            setListText(m_cboLevel, kNone);
            setListText(m_cboMethod, kNone);
            setListText(m_cboRange, kNone);
        });
        line(p, 5, [&] { oReport().setLevelInPlay(false); });
        return;
    }

    line(p, 6, [&] {
        if (m_cboRange->currentText() != kNone)
            g.setCell(grid::CellText, 0, 1, QStringLiteral("ID"));
        if (m_cboMethod->currentText() != kNone)
            g.setCell(grid::CellText, 0, 1, QStringLiteral("Method"));
    });
    line(p, 7, [&] {
        for (const ColumnLayout& c : kStandardLayout) {
            apply(c);
            if (c.col == kLastGridColumn)
                g.setDisplayFlag(false);
            g.setMergeCol(c.col, c.merge);
        }
    });
}

void frmIssue::SetMethodCBOS(bool bOn)
{
    line("SetMethodCBOS", 1, [&] {
        m_cboLevel->setEnabled(bOn);
        m_cboMethod->setEnabled(bOn);
        m_cboRange->setEnabled(bOn);
        m_dialRange->setEnabled(bOn);
    });
}

void frmIssue::InitializeCBOLevel()
{
    line("InitializeCBOLevel", 1, [&] {
        m_cboLevel->addItems({kNone, QStringLiteral("Level 9 - 10"), QStringLiteral("Level 7 - 9"),
                              QStringLiteral("Level 5 - 7"), QStringLiteral("Level 3 - 5"),
                              QStringLiteral("Level 1 - 3"), QStringLiteral("Level 0")});
        setListText(m_cboLevel, kNone);
        m_cboLevel->setEnabled(true);
    });
}

void frmIssue::InitializeCBOMethod()
{
    line("InitializeCBOMethod", 1, [&] {
        m_cboMethod->addItems({kNone, QStringLiteral("COUNT"), QStringLiteral("AVG"),
                               QStringLiteral("MIN"), QStringLiteral("MAX"),
                               QStringLiteral("STDEV"), QStringLiteral("VAR"),
                               QStringLiteral("PERCENT")});
        setListText(m_cboMethod, kNone);
        m_cboMethod->setEnabled(true);
    });
}

void frmIssue::InitializeCBORange()
{
    line("InitializeCBORange", 1, [&] {
        m_cboRange->addItems({kNone, QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("="),
                              QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>")});
        setListText(m_cboRange, kNone);
        m_cboRange->setEnabled(true);
    });
}

void frmIssue::InitializeDialRange()
{
    line("InitializeDialRange", 1, [&] {
        m_dialRange->setText(QString());
        m_dialRange->setEnabled(true);
    });
}

void frmIssue::SetupForm()
{
    line("SetupForm", 1, [&] { m_fg->setWidthTwips(10400); });
}

void frmIssue::cmdRefresh_Click()
{
    const char* p = "cmdRefresh_Click";
    line(p, 1, [&] {
        m_cmdReport->setEnabled(true);
        grid().clear();
    });
    line(p, 2, [&] {
        // Emptied lists still read "NONE": the reload below lays the grid out
        // for all records, with column 1 headed by its field name, not as a
        // method or range study left over from before.
        for (QComboBox* list : {m_cboLevel, m_cboMethod, m_cboRange}) {
            list->clear();
            list->setCurrentText(kNone);
        }
    });
    line(p, 3, [&] { m_dialRange->setText(QStringLiteral("0")); });
    line(p, 4, [&] { LoadData(); });
    line(p, 5, [&] {
        InitializeCBOLevel();
        InitializeCBOMethod();
        InitializeCBORange();
        InitializeDialRange();
    });
    line(p, 6, [&] { SetMethodCBOS(true); });
}

void frmIssue::cboLevel_Click()
{
    const char* p = "cboLevel_Click";
    // Disabling the list sends the focus on to the next input; a level
    // chosen from the keyboard should leave the user in the list.
    const bool hadFocus = m_cboLevel->hasFocus();
    line(p, 1, [&] { SetMethodCBOS(false); });
    const QString text = m_cboLevel->currentText();
    if (text != kNone) {
        line(p, 2, [&] { oReport().setLevelInPlay(true); });
        line(p, 3, [&] { oReport().setLevel(text.trimmed()); });
        line(p, 4, [&] { oReport().GetLevelSetting(); });
        line(p, 5, [&] { oReport().RunAnalysis(); });
    }
    line(p, 6, [&] { SetMethodCBOS(true); });
    if (hadFocus && m_cboLevel->isEnabled())
        m_cboLevel->setFocus(Qt::OtherFocusReason);
}

// --- IAnalysisView ---------------------------------------------------------

QString frmIssue::levelText() const
{
    return m_cboLevel->currentText();
}

QString frmIssue::studyMethod() const
{
    return m_studyMethod;
}

void frmIssue::setInfoCaption(const QString& caption)
{
    m_pnlInfo->setText(caption);
}

void frmIssue::resetGridBindingSetting()
{
    grid().setBindingSetting(0);
}

void frmIssue::clearGrid()
{
    grid().clear();
}

void frmIssue::bindGrid(const std::shared_ptr<ado::Recordset>& recordset)
{
    // Fresh rows carry no subtotals until a study adds them; edits count.
    m_studyFunction = grid::SubtotalCount;
    m_studyMethod = kNone;
    bindInFieldOrder(grid(), *recordset);
}

void frmIssue::setGridMergeSetting(int setting)
{
    grid().setMergeCells(setting);
}

// --- IAnalysisHost -----------------------------------------------------------

void frmIssue::ResetGridBindingSetting()
{
    resetGridBindingSetting();
}

void frmIssue::BindGrid(std::shared_ptr<ado::Recordset> recordset)
{
    bindGrid(recordset);
}

void frmIssue::GetCount()
{
    oReport().GetCount();
}

void frmIssue::FilterData(int found, int total)
{
    oReport().FilterData(found, total);
}
