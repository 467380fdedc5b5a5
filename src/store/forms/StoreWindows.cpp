#include "store/forms/StoreWindows.h"

#include "platform/widgets/QtSeams.h"
#include "store/forms/frmError.h"

#include <QApplication>

void registerStoreWindows()
{
    platform::registerModalWindow(QStringLiteral("frmError"), [](const QVariantMap& values) {
        frmError window(QApplication::activeWindow());
        window.setValues(values);
        return window.exec();
    });
}
