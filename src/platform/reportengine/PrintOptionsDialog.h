#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// The print-options dialog: printer, copies, the pages to print and, when the run leaves the choice, the
// output. The caller runs it thread-modal and takes the choices when it is accepted.
namespace jornix {

struct PrintChoices
{
    QString printer; // empty: the desktop's default printer
    int copies = 1;
    int fromPage = 0; // 0: all pages
    int toPage = 0;
    QString target; // PRV, PRN, PDF ...; only with the output choice
};

class PrintOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // `text` says what is printed (the layout's description); `offerOutput` shows the output choice.
    PrintOptionsDialog(const QString& text, bool offerOutput);

    void SetChoices(const PrintChoices& choices);
    PrintChoices Choices() const;

private:
    QComboBox* printer_;
    QSpinBox* copies_;
    QRadioButton* allPages_;
    QRadioButton* somePages_;
    QSpinBox* fromPage_;
    QSpinBox* toPage_;
    QComboBox* output_;
};

} // namespace jornix
