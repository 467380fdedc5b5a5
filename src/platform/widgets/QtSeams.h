#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>

namespace platform {

// Installs the Qt prompt, shell, lifetime and screen; main() calls it once,
// after the application object exists.
void installQtSeams();

// A modal window that prompt().showModal(name, values) opens: the function
// builds the window, shows it with the values and returns its result code.
using ModalWindowFactory = std::function<int(const QVariantMap& values)>;
void registerModalWindow(const QString& name, ModalWindowFactory factory);
// The registered window, or an empty function.
ModalWindowFactory modalWindow(const QString& name);

} // namespace platform
