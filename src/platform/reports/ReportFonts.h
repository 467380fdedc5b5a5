#pragma once

#include "platform/reports/ReportControl.h"

#include <QFont>

namespace rpt {

// The screen font for a report font, sized in twips (a pixel size of twenty
// per point) so that one layout measures alike on every device. A family the
// machine lacks falls back to a metric-compatible one, then to the default.
QFont fontFor(const ReportFont& font);

} // namespace rpt
