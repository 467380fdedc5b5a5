#pragma once

#include <QDialog>
#include <QVariantMap>

class QLabel;
class QPushButton;

// The technical error window: caller, description and number of one error.
class frmError final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmError)

public:
    explicit frmError(QWidget* parent = nullptr);

    // Keys are the value labels' names: lblErrorCallerValue,
    // lblErrorDescriptionValue, lblErrorNumberValue.
    void setValues(const QVariantMap& values);

private:
    void cmdOKClicked();

    QLabel* m_callerValue = nullptr;
    QLabel* m_descriptionValue = nullptr;
    QLabel* m_numberValue = nullptr;
    QPushButton* m_ok = nullptr;
};
