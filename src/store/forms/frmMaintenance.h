#pragma once

#include "store/CaseMaintenance.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Compacts a case file that is not the open one, keeping a ".OLD" backup,
// then ends the program. Shown modeless from View > Maintenance.
class frmMaintenance final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMaintenance)

public:
    explicit frmMaintenance(QWidget* parent = nullptr);

    const CaseMaintenance& maintenance() const { return m_maintenance; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void cmdOpenClicked();
    void cmdMoreClicked();
    void cmdGoClicked();
    void cmdCancelClicked();

    CaseMaintenance m_maintenance;
    QGroupBox* m_frame = nullptr;
    QLabel* m_warning = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_more = nullptr;
    QPushButton* m_cancel = nullptr;
};
