#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: product, version, the maker's web home and a mail link to
// support, and an animated picture. Help > About shows it modally.
class frmAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    explicit frmAbout(QWidget* parent = nullptr);

    void lblLink_Click();
    void lblMailTo_Click();
    void Command1_Click();
    // Hands the link to the desktop; any failure is reported with the link
    // and the shell's result. The mouse pointer ends as the default.
    void ExecuteLink(const QString& link);

    QLabel* lblVersion() const { return m_lblVersion; }
    QLabel* lblLink() const { return m_lblLink; }
    QLabel* lblMailTo() const { return m_lblMailTo; }
    QWidget* Image1() const { return m_image; }

private:
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblLink = nullptr;
    QLabel* m_lblMailTo = nullptr;
    QWidget* m_image = nullptr;
    QPushButton* m_command1 = nullptr;
};
