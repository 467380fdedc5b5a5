#pragma once

class QWidget;

namespace platform {

// Rows of names are drawn without the font's optional shaping (kerning,
// ligatures); scripts that need shaping to be legible keep it. Each row's
// text is otherwise shaped several times at every paint, which makes a
// large case's lists slow to show and to scroll.
void drawRowsUnshaped(QWidget* list);

} // namespace platform
