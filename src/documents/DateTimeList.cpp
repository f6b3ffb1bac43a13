#include "documents/DateTimeList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <atomic>

namespace jornix {

namespace {

std::atomic<int> rememberedRow{0};

} // namespace

DateTimeList::DateTimeList(const QDateTime& now, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("DateTimeList"));
    list_->setObjectName(QStringLiteral("List"));
    list_->addItems(Rows(now));
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 40);
    list_->setMinimumHeight(list_->sizeHintForRow(0) * list_->count() + 2 * list_->frameWidth() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(list_);
    const int row = RememberedRow();
    list_->setCurrentRow(row >= 1 && row <= list_->count() ? row - 1 : 0);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::itemDoubleClicked, this, &DateTimeList::take);
}

QStringList DateTimeList::Rows(const QDateTime& now)
{
    const QLocale locale;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate day = now.date();
    const QTime time = now.time();
    return {locale.toString(day, QLocale::ShortFormat),
            locale.toString(day, QLocale::LongFormat),
            day.toString(QStringLiteral("MM/dd/yy")),
            day.toString(QStringLiteral("MM/dd/yyyy")),
            english.toString(day, QStringLiteral("MMM dd, yyyy")),
            english.toString(day, QStringLiteral("dd MMM yyyy")),
            locale.toString(time, QLocale::ShortFormat),
            locale.toString(time, QLocale::LongFormat),
            time.toString(QStringLiteral("HH:mm")),
            english.toString(time, QStringLiteral("hh:mm AP")),
            time.toString(QStringLiteral("HH:mm:ss")),
            english.toString(time, QStringLiteral("hh:mm:ss AP"))};
}

int DateTimeList::RememberedRow()
{
    return rememberedRow.load();
}

void DateTimeList::SetRememberedRow(int row)
{
    rememberedRow.store(row);
}

bool DateTimeList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            take();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DateTimeList::take()
{
    const int row = list_->currentRow();
    SetRememberedRow(row + 1);
    if (row < 0 || row >= list_->count()) {
        QApplication::beep();
        reject();
        return;
    }
    chosen_ = list_->item(row)->text();
    accept();
}

} // namespace jornix
