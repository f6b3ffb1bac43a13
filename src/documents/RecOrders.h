#pragma once

#include <QString>

// The saved filter and order expressions that the mail merge offers for choosing: the table RecOrders (prefix
// "REC:") in the record file "RECORDER" of the data folder in use, plain (no owner password) and created when
// missing. REC:EXPRESSION (text, 1024) holds the expression, REC:TYPE (byte) 1 for a filter and 2 for an
// order; the key REC:KEY:EXPRESSION orders by the expression without regard to case.
//
// The windows of the saved expressions (BrowseFilter, UpdateRecOrders) take their request from the module's
// own request value and leave their response in its own response value, one pair per program thread, apart
// from the program's; the record they work on is the running thread's REC: buffer.
namespace jornix {

class Table;
class TableRelations;

namespace RecOrdersType {
enum : int
{
    Filter = 1,
    Order = 2
};
}

Table& RecOrders();
// The relation manager of the table, for the list of the saved expressions.
TableRelations& RecOrdersRelations();

struct RecOrdersValues
{
    int request = 0;  // 1 insert, 2 change, 3 delete, 4 select
    int response = 0; // 1 completed, 2 cancelled
};
RecOrdersValues& RecOrdersThread(); // of the running program thread

// Opens the table on the running thread (counted; a file locked by another program is tried once more). A
// file that cannot be opened or created is reported with its full name by warning 30 or 4, and false is
// returned: the window that asked does not open, and nothing else of the program ends.
bool OpenRecOrders();
void CloseRecOrders();

// Shows one of the module's fixed warnings by its number, with the error, the word (the operation word, or
// the probable cause of an update error) and the file inserted; returns the button pressed (MessageButton).
int RecOrdersWarning(int number, const QString& error = {}, const QString& word = {},
                     const QString& file = QStringLiteral("RecOrders"));

} // namespace jornix
