#include "analysis/CText.h"

#include "analysis/AdvisoryTexts.h"
#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/IAnalysisView.h"
#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"

#include <utility>

namespace {

constexpr int kMethodStudy = 3;

template <typename Body> auto guarded(const char* member, Body&& body) -> decltype(body())
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        throw AppError(kClassFailure, QStringLiteral("Argovo.CText.") + QLatin1String(member),
                       QStringLiteral("CText component failure"));
    }
}

const advisory::MethodTexts* findMethod(const QString& method)
{
    for (const advisory::MethodTexts& texts : advisory::methods()) {
        if (texts.method == method)
            return &texts;
    }
    return nullptr;
}

const advisory::ColumnTexts* findColumn(const QString& field)
{
    for (const advisory::ColumnTexts& texts : advisory::columns()) {
        if (texts.field == field)
            return &texts;
    }
    return nullptr;
}

bool isTextValue(int value)
{
    return value >= 0 && value <= 10;
}

QString averageProblemStatement(int value)
{
    if (!isTextValue(value))
        return QString();
    const advisory::AverageProblem& p = advisory::averageProblem();
    QString text;
    if (value != 4)
        text = p.noteStart + (value == 10 ? QStringLiteral(" ") : QString()) + p.noteMiddle +
               p.noteEnd;
    text += value == 8 ? p.roundedAn : p.roundedA + QString::number(value) + QLatin1Char(' ');
    const auto& grade = p.grades[static_cast<std::size_t>(value)];
    return text + p.meaning + grade.grade + grade.ending;
}

} // namespace

QString CText::currentMethod() const
{
    const IAnalysisView* view = analysisView();
    return view ? view->studyMethod() : QString();
}

int16_t CText::MyColumnVal() const
{
    return guarded("MyColumnVal", [&] { return m_myColumnVal; });
}

void CText::setMyColumnVal(int16_t value)
{
    guarded("MyColumnVal", [&] { m_myColumnVal = value; });
}

QString CText::MyColumnText() const
{
    return guarded("MyColumnText", [&] { return m_myColumnText; });
}

void CText::setMyColumnText(const QString& value)
{
    guarded("MyColumnText", [&] { m_myColumnText = value; });
}

void CText::DisplayReport()
{
    guarded("DisplayReport", [&] {
        const QString method = currentMethod();
        const QString refusalKey = method.toUpper().trimmed();
        if (oReport().ReportType() != kMethodStudy)
            return;
        const QString title = QStringLiteral("Popup Report Not Supported");
        if (refusalKey == QLatin1String("NONE") || refusalKey == QLatin1String("COUNT") ||
            refusalKey == QLatin1String("PERCENT")) {
            platform::msgBox(QStringLiteral("No Popup Report for Methods COUNT, NONE, or PERCENT.  "
                                            "For Grid Report, click 'Send To Report' button."),
                             platform::MsgButtons::OKCancel, platform::MsgIcon::None, title);
            return;
        }
        // Only the five methods as the list offers them have texts; anything
        // else would show empty boxes or texts of an earlier click.
        if (!findMethod(method)) {
            platform::msgBox(QStringLiteral("No Popup Report for Method ") + method.trimmed() +
                                 QStringLiteral(".  For Grid Report, click 'Send To Report' "
                                                "button."),
                             platform::MsgButtons::OKCancel, platform::MsgIcon::None, title);
            return;
        }
        IAdvisoryWindow* window = advisoryWindow();
        if (!window)
            return;
        window->setProblem(MethodProblemStatement());
        window->setIssue(MethodIssueStatement());
        window->setComment(MethodComment());
        window->setDescription(MethodDescription());
        window->showWindow();
    });
}

QString CText::MethodDescription()
{
    return guarded("MethodDescription", [&] {
        const advisory::MethodTexts* texts = findMethod(currentMethod());
        m_methodDescription = texts ? texts->description : QString();
        return m_methodDescription;
    });
}

void CText::setMethodDescription(const QString& value)
{
    guarded("MethodDescription", [&] { m_methodDescription = value; });
}

QString CText::MethodProblemStatement()
{
    return guarded("MethodProblemStatement", [&] {
        const advisory::MethodTexts* texts = findMethod(currentMethod());
        if (!texts)
            m_methodProblemStatement.clear();
        else if (texts->method == QLatin1String("AVG"))
            m_methodProblemStatement = averageProblemStatement(m_myColumnVal);
        else
            m_methodProblemStatement = texts->problem;
        return m_methodProblemStatement;
    });
}

void CText::setMethodProblemStatement(const QString& value)
{
    guarded("MethodProblemStatement", [&] { m_methodProblemStatement = value; });
}

QString CText::MethodIssueStatement()
{
    return guarded("MethodIssueStatement", [&] {
        const advisory::MethodTexts* texts = findMethod(currentMethod());
        if (!texts) {
            m_methodIssueStatement.clear();
            return m_methodIssueStatement;
        }
        m_methodIssueStatement = texts->issueOpening + m_myColumnText +
                                 QStringLiteral(" object.  The value is ") +
                                 QString::number(m_myColumnVal) + QLatin1Char('.');
        if (texts->method == QLatin1String("AVG")) {
            if (const advisory::ColumnTexts* column = findColumn(m_myColumnText))
                m_methodIssueStatement += column->averageParagraph;
        }
        return m_methodIssueStatement;
    });
}

void CText::setMethodIssueStatement(const QString& value)
{
    guarded("MethodIssueStatement", [&] { m_methodIssueStatement = value; });
}

QString CText::MethodComment()
{
    return guarded("MethodComment", [&] {
        const advisory::MethodTexts* texts = findMethod(currentMethod());
        m_methodComment = texts ? texts->comment : QString();
        return m_methodComment;
    });
}

void CText::setMethodComment(const QString& value)
{
    guarded("MethodComment", [&] { m_methodComment = value; });
}

QString CText::RecordsReturned() const
{
    return guarded("RecordsReturned", [&] { return m_recordsReturned; });
}

void CText::setRecordsReturned(const QString& value)
{
    guarded("RecordsReturned", [&] { m_recordsReturned = value; });
}

QString CText::LevelDescription()
{
    return guarded("LevelDescription", [&] {
        const advisory::ColumnTexts* column = findColumn(m_myColumnText);
        m_levelDescription = column ? column->levelDescription : QString();
        return m_levelDescription;
    });
}

void CText::setLevelDescription(const QString& value)
{
    guarded("LevelDescription", [&] { m_levelDescription = value; });
}

QString CText::LevelComment()
{
    return guarded("LevelComment", [&] {
        const advisory::ColumnTexts* column = findColumn(m_myColumnText);
        m_levelComment = column ? column->levelComment : QString();
        return m_levelComment;
    });
}

void CText::setLevelComment(const QString& value)
{
    guarded("LevelComment", [&] { m_levelComment = value; });
}

QString CText::LevelIssueStatement()
{
    return guarded("LevelIssueStatement", [&] {
        m_levelIssueStatement =
            isTextValue(m_myColumnVal)
                ? advisory::levelIssueParagraphs()[static_cast<std::size_t>(m_myColumnVal)] +
                      m_recordsReturned
                : QString();
        return m_levelIssueStatement;
    });
}

void CText::setLevelIssueStatement(const QString& value)
{
    guarded("LevelIssueStatement", [&] { m_levelIssueStatement = value; });
}

QString CText::LevelProblemStatement()
{
    return guarded("LevelProblemStatement", [&] {
        m_levelProblemStatement =
            isTextValue(m_myColumnVal)
                ? advisory::levelProblemStatements()[static_cast<std::size_t>(m_myColumnVal)]
                : QString();
        return m_levelProblemStatement;
    });
}

void CText::setLevelProblemStatement(const QString& value)
{
    guarded("LevelProblemStatement", [&] { m_levelProblemStatement = value; });
}
