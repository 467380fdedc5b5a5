#pragma once

#include <QString>

// What the main window tells the user about the case it holds, through the
// prompt seam.
namespace casenotices {

// The case at path was opened read-only: it cannot be written.
void readOnly(const QString& path);

// What was typed for the item could not be written on the way out of the
// case: true when the user chooses to leave it unsaved.
bool leaveUnsaved(const QString& itemName);

} // namespace casenotices
