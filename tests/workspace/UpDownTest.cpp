#include "workspace/UpDown.h"

#include "QtPrinters.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct Stepper {
    QWidget parent;
    QLineEdit* box = new QLineEdit(&parent);
    UpDown* arrows = new UpDown(box, &parent);
    Stepper() { arrows->setRange(0, 10); }
};

} // namespace

TEST(UpDown, ArrowsAndKeysStepTheBuddysNumberWithinTheRangeAndPastAnyOtherText)
{
    Stepper s;
    s.box->setText(QStringLiteral("4"));
    QSignalSpy changed(s.arrows, &UpDown::changed);
    QTest::mouseClick(s.arrows->upButton(), Qt::LeftButton);
    EXPECT_EQ(s.box->text(), QStringLiteral("5"));
    QTest::mouseClick(s.arrows->downButton(), Qt::LeftButton);
    QTest::mouseClick(s.arrows->downButton(), Qt::LeftButton);
    EXPECT_EQ(s.box->text(), QStringLiteral("3"));
    QTest::keyClick(s.box, Qt::Key_Up);
    QTest::keyClick(s.box, Qt::Key_Up);
    QTest::keyClick(s.box, Qt::Key_Down);
    EXPECT_EQ(s.box->text(), QStringLiteral("4"));
    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(s.arrows->value(), 4);

    // The ends of the range hold, announcing nothing.
    changed.clear();
    s.box->setText(QStringLiteral("10"));
    s.arrows->stepUp();
    EXPECT_EQ(s.box->text(), QStringLiteral("10"));
    s.box->setText(QStringLiteral("0"));
    s.arrows->stepDown();
    EXPECT_EQ(s.box->text(), QStringLiteral("0"));
    EXPECT_EQ(changed.count(), 0);

    // A rating typed in another form steps from the rating the box reads.
    const std::pair<const char*, const char*> typed[] = {
        {"2.0", "3"}, {" 4.6 ", "6"}, {"1e1", "10"}, {"+5", "6"}};
    for (const auto& [text, shown] : typed) {
        s.arrows->setValue(0);
        s.box->setText(QString::fromLatin1(text));
        s.arrows->stepUp();
        EXPECT_EQ(s.box->text(), QString::fromLatin1(shown)) << text;
    }

    // A text that is no rating steps from the last position.
    s.arrows->setValue(6);
    s.box->setText(QStringLiteral("abc"));
    s.arrows->stepUp();
    EXPECT_EQ(s.box->text(), QStringLiteral("7"));
    s.box->setText(QStringLiteral("25"));
    s.arrows->stepDown();
    EXPECT_EQ(s.box->text(), QStringLiteral("6"));
}
