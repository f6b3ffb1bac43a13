#include "platform/reportengine/ProgressBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace jornix {

ProgressBox::ProgressBox(const QString& title, std::function<void()> cancel)
    : QWidget(nullptr, Qt::Dialog), text_(new QLabel(this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("reportProgressBox"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    text_->setObjectName(QStringLiteral("progressText"));
    bar_->setObjectName(QStringLiteral("progressBar"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    bar_->setRange(0, 100);
    text_->setMinimumWidth(320);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(buttons);
    connect(cancel_, &QPushButton::clicked, this, [this, cancel = std::move(cancel)] {
        cancel_->setEnabled(false);
        text_->setText(tr("Cancelling..."));
        cancel();
    });
    SetProgress(QString(), 0);
    adjustSize();
}

void ProgressBox::SetProgress(const QString& text, int percent)
{
    if (cancel_->isEnabled())
        text_->setText(text);
    bar_->setValue(qBound(0, percent, 100));
}

QString ProgressBox::Text() const
{
    return text_->text();
}

int ProgressBox::Percent() const
{
    return bar_->value();
}

} // namespace jornix
