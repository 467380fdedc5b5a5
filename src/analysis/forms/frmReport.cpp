#include "analysis/forms/frmReport.h"

#include "analysis/IAnalysisView.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Shell.h"
#include "platform/core/Twips.h"
#include "store/ErrorReport.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QPointer<frmReport> g_window;

class FrmReportWriter final : public IAdvisoryWindow {
public:
    void setProblem(const QString& text) override
    {
        frmReport::instance().txtProblem()->setPlainText(text);
    }
    void setIssue(const QString& text) override
    {
        frmReport::instance().txtIssue()->setPlainText(text);
    }
    void setComment(const QString& text) override
    {
        frmReport::instance().txtComment()->setPlainText(text);
    }
    void setDescription(const QString& text) override
    {
        frmReport::instance().txtDescription()->setPlainText(text);
    }
    void showWindow() override
    {
        frmReport& window = frmReport::instance();
        window.show();
        window.raise();
    }
};

} // namespace

frmReport& frmReport::instance()
{
    if (!loaded())
        // A top-level window that deletes itself once closed.
        g_window = new frmReport();
    return *g_window;
}

frmReport* frmReport::loaded()
{
    if (g_window && g_window->m_unloaded)
        g_window = nullptr;
    return g_window.data();
}

frmReport::frmReport(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Argovo Case Analysis"));
    resize(twips::toPixels(7200), twips::toPixels(7800));

    auto* boxes = new QGridLayout;
    auto addBox = [&](const QString& labelName, const QString& caption, QTextEdit*& box,
                      const QString& boxName, int row) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(labelName);
        box = makeTextBox(boxName);
        boxes->addWidget(label, row * 2, 0);
        boxes->addWidget(box, row * 2 + 1, 0);
    };
    addBox(QStringLiteral("lblproblem"), QStringLiteral("Problem:"), m_txtProblem,
           QStringLiteral("txtProblem"), 0);
    addBox(QStringLiteral("lblIssue"), QStringLiteral("Issue:"), m_txtIssue,
           QStringLiteral("txtIssue"), 1);
    addBox(QStringLiteral("lblComment"), QStringLiteral("Comment:"), m_txtComment,
           QStringLiteral("txtComment"), 2);
    addBox(QStringLiteral("lblDescription"), QStringLiteral("Description:"), m_txtDescription,
           QStringLiteral("txtDescription"), 3);

    m_lblNote = new QLabel(QStringLiteral("Note:  After you close this window, click individual "
                                          "values in the grid columns for more specific "
                                          "reporting."),
                           this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);

    auto* picture = new QFrame(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    auto* buttons = new QHBoxLayout(picture);
    m_cmdHelp = new QPushButton(QStringLiteral("Help"), picture);
    m_cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    m_cmdClose = new QPushButton(QStringLiteral("Close"), picture);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    buttons->addWidget(m_cmdHelp);
    buttons->addWidget(m_cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_lblNote);
    layout->addWidget(picture);

    connect(m_cmdHelp, &QPushButton::clicked, this, &frmReport::cmdHelp_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmReport::cmdClose_Click);
}

QTextEdit* frmReport::makeTextBox(const QString& name)
{
    auto* box = new QTextEdit(this);
    box->setObjectName(name);
    box->setAcceptRichText(false);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.5);
    box->setFont(font);
    return box;
}

void frmReport::cmdClose_Click()
{
    try {
        close();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmReport.cmdClose_Click"), 1);
    }
}

void frmReport::cmdHelp_Click()
{
    try {
        platform::shell().showHelp(appinfo::programFolder() + QStringLiteral("/help/index.html"));
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmReport.cmdHelp_Click"), 1);
    }
}

void frmReport::closeEvent(QCloseEvent* event)
{
    // Unloaded: the next writer loads a fresh window.
    m_unloaded = true;
    event->accept();
}

IAdvisoryWindow& frmReportWriter()
{
    static FrmReportWriter writer;
    return writer;
}
