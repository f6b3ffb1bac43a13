#include "documents/MailMerge.h"

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/runtime/FrameworkEvents.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <QApplication>

#include <algorithm>

namespace jornix {
namespace {

// A refused order or filter is told with a beep and a message, and the merge goes on without it.
void RefuseExpression(QString& expression, const QString& caption, const QString& text)
{
    QApplication::beep();
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption, text, MessageButton::Ok);
    expression.clear();
}

// The first record of the view in one direction: the first (Forward) or the last (Backward).
bool EdgeRow(View& view, Direction direction, ViewRow& row)
{
    std::vector<ViewRow> rows;
    if (!view.Read({}, direction, 1, rows) || rows.empty())
        return false;
    row = std::move(rows.front());
    return true;
}

} // namespace

void TXEdit::AddMailFile(Table& file)
{
    mail_->MAILFILEQUEUE.push_back({file.TableName(), &file});
}

void TXEdit::OpenMailMerge()
{
    StartMailMerge(QStringLiteral("MAILMERGE"));
}

void TXEdit::StartMailMerge(const QString& command)
{
    const std::shared_ptr<TXEditLink> link = mail_->link;
    mail_->mergeThread = StartProcedureThread([link, command] { MailMergeThread(link, command); }, 25000);
}

void TXEdit::closeMailMergeWindow()
{
    MailMergeFields& mail = *mail_;
    // The merge window closes before the object goes: its close gives the fields their own texts back.
    // Everything the merge thread has open over it (a field list, a filter window) closes on the way.
    const ThreadNumber thread = mail.POPUPMAILMERGE;
    if (thread > 1 && thread != CurrentThread()) {
        while (mail.POPUPMAILMERGE == thread && ThreadIsActive(thread)) {
            PostEvent(Event::CloseWindow, 0, thread);
            if (CurrentThread() == 0)
                break; // outside the program threads nothing can wait
            WaitMilliseconds(20);
        }
    }
    mail.link->edit = nullptr;
}

void TXEdit::KeepFieldTexts()
{
    MailMergeFields& mail = *mail_;
    mail.keptTexts.clear();
    CollectTokens();
    if (!text_)
        return;
    for (const TextField& field : text_->Fields().All()) {
        QString text, data;
        if (!GetFieldText(field.id, text, data))
            continue;
        const QString token = StripTrailingBlanks(data).toUpper();
        if (token == QLatin1String(FirstTokenMarker))
            continue;
        const auto at =
            std::lower_bound(mail.keptTexts.begin(), mail.keptTexts.end(), token,
                             [](const auto& kept, const QString& key) { return kept.first < key; });
        if (at == mail.keptTexts.end() || at->first != token)
            mail.keptTexts.insert(at, {token, text});
    }
}

void TXEdit::RestoreFieldTexts()
{
    if (!text_)
        return;
    const bool updates = text_->updatesEnabled();
    text_->setUpdatesEnabled(false);
    for (const auto& [token, text] : mail_->keptTexts)
        SetMergeFieldText(token, text);
    text_->setUpdatesEnabled(updates);
}

void TXEdit::UpdateMergeInfo()
{
    MailMergeFields& mail = *mail_;
    mail.INFO.MAILOPEN = mail.MAILFILEOPEN;
    mail.INFO.MAILFILEBOF = mail.MAILFILEEND == -1 ? 1 : 0;
    mail.INFO.MAILFILEEOF = mail.MAILFILEEND == 1 ? 1 : 0;
    if (mail.MAILRECORDS <= 1)
        mail.INFO.MAILFILEBOF = mail.INFO.MAILFILEEOF = 1;
}

void TXEdit::OpenMergeData(int open)
{
    MailMergeFields& mail = *mail_;
    if (!open) {
        if (mail.MAILFILEOPEN) {
            mail.MAILFILEVIEW.reset();
            if (Table* file = MailFileName())
                file->Close();
            SetMailFileName(nullptr);
            mail.MAILFILEOPEN = 0;
            mail.MAILFILEEND = 0;
            mail.MAILRECORDS = 0;
            RestoreFieldTexts();
            mail.keptTexts.clear();
        }
        Activate();
        return;
    }
    if (mail.MAILFILEOPEN)
        OpenMergeData(0);
    KeepFieldTexts(); // what the fields show now comes back when the data closes
    // The first data file that opens and has fields is the merge's.
    Table* data = nullptr;
    for (const MailFile& entry : mail.MAILFILEQUEUE) {
        if (!entry.file || !entry.file->Open())
            continue;
        if (entry.file->FieldCount() > 0) {
            data = entry.file;
            break;
        }
        entry.file->Close();
    }
    if (!data)
        return;
    SetMailFileName(data);
    mail.MAILFILEVIEW = std::make_unique<View>(*data);
    View& view = *mail.MAILFILEVIEW;
    if (!mail.MAILORDERVALUE.trimmed().isEmpty() && !view.SetOrder(mail.MAILORDERVALUE))
        RefuseExpression(mail.MAILORDERVALUE, QStringLiteral("Order Error"),
                         QStringLiteral("   Illegal order expression. Order is ignored."));
    if (!mail.MAILFILTERVALUE.trimmed().isEmpty() && !view.SetFilter(mail.MAILFILTERVALUE))
        RefuseExpression(mail.MAILFILTERVALUE, QStringLiteral("Filter Error"),
                         QStringLiteral("   Illegal filter expression. Filter is ignored."));
    ViewRow row;
    mail.MAILFIRSTRECORD = EdgeRow(view, Direction::Forward, row) ? row.position : Position{};
    mail.MAILLASTRECORD = EdgeRow(view, Direction::Backward, row) ? row.position : Position{};
    qint64 count = 0;
    view.Count(count);
    mail.MAILRECORDS = qint32(count);
    mail.MAILFILEOPEN = 1;
    MoveMergeRecord(1);
}

int TXEdit::MoveMergeRecord(int direction)
{
    MailMergeFields& mail = *mail_;
    if (!mail.MAILFILEOPEN || !mail.MAILFILEVIEW || !MailFileName())
        return 0;
    View& view = *mail.MAILFILEVIEW;
    std::vector<ViewRow> rows;
    Status status;
    switch (direction) {
    case 1:
        status = view.Read({}, Direction::Forward, 1, rows);
        break;
    case 2:
        status = view.Read(mail.current, Direction::Backward, 1, rows);
        break;
    case 3:
        status = view.Read(mail.current, Direction::Forward, 1, rows);
        break;
    case 4:
        status = view.Read({}, Direction::Backward, 1, rows);
        break;
    default:
        return 0;
    }
    if (!status || rows.empty())
        return 0;
    ViewRow& row = rows.front();
    mail.current = row.position;
    MailFileName()->Buffer() = row.record;
    const qint32 number = direction == 1   ? 1
                          : direction == 2 ? MailMergeRecordNumber - 1
                          : direction == 3 ? MailMergeRecordNumber + 1
                                           : mail.MAILRECORDS;
    MailMergeRecordNumber = std::clamp(number, 1, std::max(1, mail.MAILRECORDS));
    const qint64 rowId = row.position.rowId;
    mail.MAILFILEEND = rowId == mail.MAILLASTRECORD.rowId ? 1 : rowId == mail.MAILFIRSTRECORD.rowId ? -1 : 0;
    EvaluateMergeTokens();
    if (text_)
        text_->setFocus();
    return 1;
}

void TXEdit::MergeToPrinter()
{
    OpenMergeData(1);
    if (mail_->MAILFILEOPEN && mail_->MAILRECORDS > 0)
        print(1, [this] { return MoveMergeRecord(3) == 1; });
    OpenMergeData(0);
    Activate();
}

} // namespace jornix
