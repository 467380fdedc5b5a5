#include "store/forms/frmError.h"
#include "platform/widgets/QtSeams.h"
#include "store/forms/StoreWindows.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TEST(frmErrorTest, ShowsTheErrorUnderItsCaptionsOkClosesItAndTheReporterCanOpenIt)
{
    frmError window;
    window.setValues({{QStringLiteral("lblErrorCallerValue"), QStringLiteral("CDataLayer.RunSQL")},
                      {QStringLiteral("lblErrorDescriptionValue"), QStringLiteral("Bad SQL")},
                      {QStringLiteral("lblErrorNumberValue"), QStringLiteral("3075")}});

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Argovo 2003 2.1 Error"));
    const auto* frame = window.findChild<QGroupBox*>(QStringLiteral("frameDetail"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("Detail Error Info"));
    const std::pair<const char*, const char*> labels[] = {
        {"lblErrorCaller", "Error Caller:"},     {"lblDescription", "Error Description:"},
        {"lblErrorNumber", "Error Number:"},     {"lblErrorCallerValue", "CDataLayer.RunSQL"},
        {"lblErrorDescriptionValue", "Bad SQL"}, {"lblErrorNumberValue", "3075"},
    };
    for (const auto& [name, text] : labels) {
        const auto* label = frame->findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), QLatin1String(text)) << name;
    }

    window.show();
    QSignalSpy accepted(&window, &QDialog::accepted);
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(window.isVisible());

    registerStoreWindows();
    EXPECT_TRUE(static_cast<bool>(platform::modalWindow(QStringLiteral("frmError"))));
}

} // namespace
