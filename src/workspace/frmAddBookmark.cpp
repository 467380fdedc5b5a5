#include "workspace/frmAddBookmark.h"

#include "workspace/TreeEditing.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "store/CBookmark.h"
#include "store/CIssue.h"
#include "store/ErrorReport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

const QString frmAddBookmark::kWindowName = QStringLiteral("frmAddBookmark");

namespace {

const QString kForm = QStringLiteral("frmAddBookmark.");

template <typename F> bool attempt(const char* procedure, int line, F&& body)
{
    return report::guarded(kForm + QLatin1String(procedure), line, std::forward<F>(body));
}

} // namespace

frmAddBookmark::frmAddBookmark(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Argovo Add Bookmark"));

    auto* caption = new QLabel(QStringLiteral("Adding bookmark to :"), this);
    caption->setObjectName(QStringLiteral("lblCaption"));
    m_codeItem = new QLabel(this);
    m_codeItem->setObjectName(QStringLiteral("lblCodeItem"));
    QFont bold = m_codeItem->font();
    bold.setBold(true);
    m_codeItem->setFont(bold);
    auto* label = new QLabel(QStringLiteral("Bookmark Description :"), this);
    label->setObjectName(QStringLiteral("lblBookmark"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("txtBookmark"));
    m_text->setMinimumWidth(320);
    // The box would cut a pasted description at 32,767 characters without a
    // word; the case stores any length.
    m_text->setMaxLength(std::numeric_limits<int>::max());
    label->setBuddy(m_text);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_codeItem);
    layout->addSpacing(6);
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmAddBookmark::Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item)
{
    m_db = std::move(db);
    m_item = std::move(item);
    m_cancelled = false;
    // A name written by another tool may run to megabytes, which the label
    // would lay out whole.
    attempt("Initialise", 10,
            [this] { m_codeItem->setText(screentext::shown(m_item->Name()) + QLatin1Char(' ')); });
}

void frmAddBookmark::cmdOK_Click()
{
    QString refusal;
    const bool stored = attempt("cmdOK_Click", 10, [this, &refusal] {
        // The item may have been deleted in another copy of the program
        // while this window was open.
        if (m_db && m_item)
            refusal = treeediting::bookmarkRefusalInFile(*m_db, m_item->Key().toLongLong(),
                                                         m_item->Name());
        if (!refusal.isEmpty())
            return;
        CBookmark bookmark;
        bookmark.Initialise(m_db, QString());
        bookmark.setCodeItem(m_item.get());
        bookmark.setDescription(m_text->text());
        bookmark.Commit();
    });
    if (!refusal.isEmpty())
        platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         appinfo::kAppTitle);
    // A bookmark that was not stored keeps the window open with its text.
    if (!stored || !refusal.isEmpty())
        return;
    m_cancelled = false;
    m_item.reset();
    done(QDialog::Accepted);
}

void frmAddBookmark::cmdCancel_Click()
{
    m_cancelled = true;
    m_item.reset();
    done(QDialog::Rejected);
}

// Escape and the close box cancel as the Cancel button does.
void frmAddBookmark::reject()
{
    cmdCancel_Click();
}
