#include "platform/widgets/PlainRowsDelegate.h"

#include <QApplication>
#include <QImage>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QImage drawn(const QString& text, bool plainRows)
{
    QTreeWidget list;
    list.setHeaderHidden(true);
    if (plainRows)
        list.setItemDelegate(new platform::PlainRowsDelegate(&list));
    new QTreeWidgetItem(&list, QStringList{text});
    list.resize(320, 60);
    list.show();
    QApplication::processEvents();
    return list.grab().toImage();
}

// Arabic letters join only when shaped; Devanagari builds its clusters;
// an accent typed as a mark of its own sits on its letter.
TEST(PlainRowsDelegateTest, TextBeyondLatinLettersIsDrawnAsTheStandardRowDrawsIt)
{
    const QString texts[] = {
        QString::fromUtf8("\u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645"),
        QString::fromUtf8("\u0928\u092e\u0938\u094d\u0924\u0947"),
        QString::fromUtf8("Cafe\u0301 witness"),
    };
    for (const QString& text : texts)
        EXPECT_EQ(drawn(text, true), drawn(text, false)) << text.toStdString();
}

} // namespace
