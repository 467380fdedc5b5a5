#include "workspace/frmAbout.h"

#include "workspace/InstallSettings.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "store/ErrorReport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kForm = QStringLiteral("frmAbout.");
constexpr int kHourglass = 11;
constexpr int kDefaultPointer = 0;
constexpr int kShowNormal = 1;

// A pair of scales that sways until it settles, then starts again.
class ScalesPicture final : public QWidget {
public:
    explicit ScalesPicture(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(112, 100);
        auto* timer = new QTimer(this);
        timer->setInterval(50);
        connect(timer, &QTimer::timeout, this, [this] {
            m_tick = (m_tick + 1) % 120;
            update();
        });
        timer->start();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(8, 2);
        const double t = m_tick / 20.0;
        const double tilt = 14.0 * std::exp(-t / 2.5) * std::sin(t * 2.4);
        const QColor gold(0xc9, 0xa2, 0x27);
        const QColor ink(0x33, 0x3a, 0x44);

        p.setPen(QPen(ink, 2));
        p.setBrush(gold);
        p.drawRect(QRectF(30, 84, 36, 6));
        p.drawLine(QPointF(48, 84), QPointF(48, 18));
        p.drawEllipse(QRectF(44, 12, 8, 8));

        p.translate(48, 22);
        const double radians = tilt * M_PI / 180.0;
        const QPointF left(-34 * std::cos(radians), -34 * std::sin(radians));
        const QPointF right(34 * std::cos(radians), 34 * std::sin(radians));
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(left, right);
        p.setPen(QPen(ink, 1.2));
        for (const QPointF& end : {left, right}) {
            const QPointF pan = end + QPointF(0, 30);
            p.drawLine(end, pan + QPointF(-10, 0));
            p.drawLine(end, pan + QPointF(10, 0));
            QPainterPath bowl;
            bowl.moveTo(pan + QPointF(-12, 0));
            bowl.quadTo(pan + QPointF(0, 12), pan + QPointF(12, 0));
            bowl.closeSubpath();
            p.setBrush(gold);
            p.drawPath(bowl);
        }
    }

private:
    int m_tick = 0;
};

QLabel* linkLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(false);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// Each handler reports its own failure and the window stays usable.
template <typename F> void handled(const char* handler, int line, F&& body)
{
    report::guarded(kForm + QLatin1String(handler), line, std::forward<F>(body));
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Argovo 2003"));

    auto* label1 = new QLabel(appinfo::kProductLabel, this);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = label1->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 6);
    label1->setFont(heading);

    m_lblVersion = new QLabel(this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblLink = linkLabel(QStringLiteral("lblLink"), installsettings::makerHome(), this);
    m_lblMailTo = linkLabel(QStringLiteral("lblMailTo"),
                            QStringLiteral("Argovo 2003 is made for trial lawyers. Questions or "
                                           "remarks? Write to Argovo support."),
                            this);
    m_lblMailTo->setWordWrap(true);
    m_image = new ScalesPicture(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_command1 = new QPushButton(QStringLiteral("OK"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(label1);
    text->addWidget(m_lblVersion);
    text->addSpacing(8);
    text->addWidget(m_lblLink);
    text->addWidget(m_lblMailTo);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_image, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumWidth(440);

    connect(m_lblLink, &QLabel::linkActivated, this, [this] { lblLink_Click(); });
    connect(m_lblMailTo, &QLabel::linkActivated, this, [this] { lblMailTo_Click(); });
    connect(m_command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    handled("Form_Load", 10, [this] { m_lblVersion->setText(appinfo::versionText()); });
}

void frmAbout::lblLink_Click()
{
    handled("lblLink_Click", 10, [this] { ExecuteLink(installsettings::makerHome()); });
}

void frmAbout::lblMailTo_Click()
{
    handled("lblMailTo_Click", 10,
            [this] { ExecuteLink(QStringLiteral("mailto:") + installsettings::supportMail()); });
}

void frmAbout::Command1_Click()
{
    handled("Command1_Click", 10, [this] { accept(); });
}

void frmAbout::ExecuteLink(const QString& link)
{
    platform::Screen& screen = platform::screen();
    screen.setMousePointer(kHourglass);
    int result = 0;
    try {
        result = platform::shell().execute(QStringLiteral("open"), link, QString(), kShowNormal);
    } catch (...) {
        screen.setMousePointer(kDefaultPointer);
        throw;
    }
    screen.setMousePointer(kDefaultPointer);
    // Results up to 32 are the shell's failures, and each is reported.
    if (result <= 32) {
        platform::msgBox(QStringLiteral("Error Opening Link to %1\n\n%2").arg(link).arg(result),
                         platform::MsgButtons::OK, platform::MsgIcon::None,
                         QStringLiteral("frmAbout::ExecuteLink"));
    }
}
