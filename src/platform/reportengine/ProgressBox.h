#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress box of a print run: the run's title, the text and percent the run gives, and Cancel. It is an
// ordinary window of the running thread, not a wait: the run goes on while it shows.
namespace jornix {

class ProgressBox : public QWidget
{
    Q_OBJECT

public:
    ProgressBox(const QString& title, std::function<void()> cancel);

    void SetProgress(const QString& text, int percent);
    QString Text() const;
    int Percent() const;

private:
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

} // namespace jornix
