#pragma once

#include <QComboBox>

namespace analysisforms {

// Shows a text in a study list. A list's edit text and its current item
// must agree: when they differ, the list takes the text for a choice as soon
// as the focus leaves it, and a study nobody asked for runs.
inline void setListText(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    if (index >= 0)
        list->setCurrentIndex(index);
    list->setCurrentText(text);
}

} // namespace analysisforms
