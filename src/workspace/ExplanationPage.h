#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class UpDown;

// The controls of the EXPLANATION tab: the explanation, the "Questions"
// frame and the "Values" frame with the six rating boxes and their arrows.
// It only arranges them; the main window reads and writes them.
class ExplanationPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExplanationPage)

public:
    static constexpr int kRatings = 6;

    explicit ExplanationPage(QWidget* parent = nullptr);

    QPlainTextEdit* txtExplanation() const { return m_explanation; }
    QPlainTextEdit* txtQuestions() const { return m_questions; }
    QLineEdit* txtSpin(int index) const { return m_spins.at(index); }
    UpDown* updown(int index) const { return m_updowns.at(index); }

    // A case that cannot be written shows its item but takes no typing.
    void setReadOnly(bool readOnly);

    // The captions above the rating boxes, by index.
    static QString ratingLabel(int index);

private:
    QPlainTextEdit* m_explanation = nullptr;
    QPlainTextEdit* m_questions = nullptr;
    QGroupBox* m_questionsFrame = nullptr;
    QGroupBox* m_valuesFrame = nullptr;
    std::array<QLineEdit*, kRatings> m_spins{};
    std::array<UpDown*, kRatings> m_updowns{};
};
