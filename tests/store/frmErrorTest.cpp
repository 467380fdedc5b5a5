#include "store/forms/frmError.h"
#include "platform/widgets/QtSeams.h"
#include "store/forms/StoreWindows.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QString labelText(const QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

TEST(frmErrorTest, ShowsCallerDescriptionAndNumberUnderItsCaptions)
{
    frmError window;
    window.setValues({{QStringLiteral("lblErrorCallerValue"), QStringLiteral("CDataLayer.RunSQL")},
                      {QStringLiteral("lblErrorDescriptionValue"), QStringLiteral("Bad SQL")},
                      {QStringLiteral("lblErrorNumberValue"), QStringLiteral("3075")}});

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Argovo 2003 2.1 Error"));
    const auto* frame = window.findChild<QGroupBox*>(QStringLiteral("frameDetail"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("Detail Error Info"));
    EXPECT_EQ(labelText(window, "lblErrorCaller"), QStringLiteral("Error Caller:"));
    EXPECT_EQ(labelText(window, "lblDescription"), QStringLiteral("Error Description:"));
    EXPECT_EQ(labelText(window, "lblErrorNumber"), QStringLiteral("Error Number:"));
    EXPECT_EQ(labelText(window, "lblErrorCallerValue"), QStringLiteral("CDataLayer.RunSQL"));
    EXPECT_EQ(labelText(window, "lblErrorDescriptionValue"), QStringLiteral("Bad SQL"));
    EXPECT_EQ(labelText(window, "lblErrorNumberValue"), QStringLiteral("3075"));
}

TEST(frmErrorTest, OkClosesTheWindow)
{
    frmError window;
    window.show();
    QSignalSpy accepted(&window, &QDialog::accepted);
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(frmErrorTest, RegisteredForTheErrorReporter)
{
    registerStoreWindows();
    EXPECT_TRUE(static_cast<bool>(platform::modalWindow(QStringLiteral("frmError"))));
}

} // namespace
