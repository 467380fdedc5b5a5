#pragma once

#include <QFileIconProvider>

namespace platform {

// Icons and type names of the file dialog, found from a file's name alone.
// Qt's own provider reads the first bytes of every file whose name does not
// tell its type: in a folder like /proc, where a read may block or take
// long, the dialog stopped answering.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    NameOnlyIconProvider();

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace platform
