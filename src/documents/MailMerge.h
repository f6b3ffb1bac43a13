#pragma once

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/View.h"

#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The state of a TXEdit's mail merge, named as the object's fields are.
namespace jornix {

class Table;
class TXEdit;

// How the merge window reaches its object from the merge thread: TXEdit::Kill (or the object's end) cuts it,
// so that nothing of the merge reaches an object that has gone.
struct TXEditLink
{
    TXEdit* edit = nullptr;
};

struct MailFile
{
    QString FILENAME; // what "SELECT FIELD" lists
    Table* file = nullptr;
};

struct MergeInfo
{
    qint32 MAILOPEN = 0;
    qint32 MAILFILEBOF = 0;
    qint32 MAILFILEEOF = 0;
};

struct MailMergeFields
{
    explicit MailMergeFields(TXEdit* edit) : link(std::make_shared<TXEditLink>(TXEditLink{edit})) {}

    static constexpr int ExpressionWidth = 256;
    std::vector<MailFile> MAILFILEQUEUE;
    QString MAILFILTERVALUE;
    QString MAILORDERVALUE;
    // The first and last records of the view and the current one, by their place in the view's order.
    Position MAILFIRSTRECORD;
    Position MAILLASTRECORD;
    Position current;
    qint32 MAILRECORDS = 0;
    std::unique_ptr<View> MAILFILEVIEW; // the view of the open data file (TXEdit::MailFileName)
    qint32 MAILFILEOPEN = 0;
    qint16 MAILFILEEND = 0; // 1 at the last record, -1 at the first, 0 between
    ThreadNumber POPUPMAILMERGE = 0;
    qint32 POPUPFLATBUTTONS = 0;
    QString JSMERGEFILENAME; // a merge token table the merge window opens at its start
    MergeInfo INFO;
    // The texts the fields showed before the merge, by token in upper case, sorted by token.
    QList<std::pair<QString, QString>> keptTexts;
    std::shared_ptr<TXEditLink> link;
    ThreadNumber mergeThread = 0; // the thread StartMailMerge started last
};

// The number of the current merge record, from 1; program-wide, so one merge runs at a time.
inline qint32 MailMergeRecordNumber = 0;

// The merge thread: "MAILMERGE" (the first nine characters, case aside) closes the merge window of the object
// when one is open, else runs it on this thread.
void MailMergeThread(const std::shared_ptr<TXEditLink>& link, const QString& command);

} // namespace jornix
