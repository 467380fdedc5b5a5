#pragma once

#include <QString>

#include <cstdint>

// The one error reporter of the storage classes: a plain information box for
// number 0, otherwise the offer to see the technical error in frmError; logs
// on request. Never raises.
class CError final {
public:
    int16_t HandleError(const QString& caller, const QString& description, int number, bool bLog);
};
