#pragma once

// The failure reports of windows and modules, in the program's fixed forms.
// No exception may cross a slot or event handler: handlers catch at their
// edge and report through one of these.

#include <QString>

#include <exception>

class AppError;

namespace report {

// "<description>\nin Argovo.<place> at line <line>", OK button, default title.
// place is "frmRedoZiv.DoStartUp", "Globals.Shutdown" and the like.
QString windowErrorText(const QString& description, const QString& place, int line);
void windowError(const QString& description, const QString& place, int line);
void windowError(const std::exception& error, const QString& place, int line);

// "<number> <description> <source> <place>", titled with the application title,
// as the tree editing, the tree fill and the toolbar report.
QString numberedErrorText(const AppError& error, const QString& place);
void numberedError(const AppError& error, const QString& place);

// The description of any exception, for reports.
QString describe(const std::exception& error);

// Runs one step of a handler or procedure: a failure is reported as a window
// error with the place and line, and the caller goes on with its next step.
// Returns whether the step ran through.
template <typename Body> bool guarded(const QString& place, int line, Body&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        windowError(e, place, line);
    } catch (...) {
        windowError(QStringLiteral("Unknown error"), place, line);
    }
    return false;
}

} // namespace report
