#include "documents/RecOrders.h"

#include "documents/DocumentSettings.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"

namespace jornix {
namespace {

struct RecOrdersData
{
    Catalogue catalogue;
    Table& table;
    ErrorReporter errors;
    FileManager access;
    TableRelations relations;

    RecOrdersData()
        : table(catalogue.AddTable(QStringLiteral("REC:"), QStringLiteral("RECORDER"),
                                   QStringLiteral("RecOrders"), FileAttribute::Create))
    {
        table.AddString(QStringLiteral("EXPRESSION"), 1024)
            .AddByte(QStringLiteral("TYPE"))
            .AddKey(QStringLiteral("KEY:EXPRESSION"), {QStringLiteral("EXPRESSION")},
                    KeyFlag::Dup | KeyFlag::NoCase | KeyFlag::Opt, QStringLiteral("REC:KEY:EXPRESSION"));
        errors.Init();
        access.Init(table, errors);
        relations.Init(access, true);
    }
};

RecOrdersData& Data()
{
    static RecOrdersData data;
    return data;
}

struct Warning
{
    int number;
    int buttons;
    MessageIcon icon;
    QString caption;
};

// The windows of the saved expressions are lookups: a file they cannot open closes the lookup, never the
// program, so that no other window loses what it holds.
const QString BackToWindow = QStringLiteral("  Press OK to return to the previous window.");

QString WarningText(int number, const QString& error, const QString& word, const QString& file)
{
    switch (number) {
    case 1:
        return "Error: (" + error + ") accessing " + file + "." + BackToWindow;
    case 2:
        return file + " key file is invalid.  Do you want to rebuild the key?";
    case 3:
        return "Error: (" + error + ") repairing key for " + file + "." + BackToWindow;
    case 4:
        return "Error: (" + error + ") creating " + file + "." + BackToWindow;
    case 5:
        return "Error: (" + error + ") opening created file:" + file + "." + BackToWindow;
    case 14:
        return "An error was experienced during the update of record.  Error: " + error + ".";
    case 15:
        if (word.isEmpty())
            return QStringLiteral("This record was changed by another station.");
        return "An error (" + error +
               ") was experienced when attempting to update a record from the file.  "
               "Probable Cause: " +
               word + ".";
    case 16:
        return QStringLiteral(
            "An error was experienced changing this record.  Do you want to try to save again?");
    case 17:
        return "An error (" + error + ") was experienced when attempting to delete a record from the file " +
               file + ".";
    case 18:
        return QStringLiteral(
            "An error was experienced deleting this record.  Do you want to try to save again?");
    case 30:
        return "File (" + file + ") could not be opened.  Error: " + error + ".";
    case 32:
        return QStringLiteral(
            "You've selected to delete the highlighted record.  Press OK to confirm deletion of "
            "this record.");
    case 34:
        return "Error: (" + error + ") attempting to frame the " + word + " transaction on " + file + ".  " +
               word + " transaction cancelled.";
    case 35:
        return "Error: (" + error + ") attempting to access a record from the " + file +
               " file.  Returning to previous window.";
    case 36:
        return "Error: (" + error + ") attempting to open the current VIEW. Filter and Range Limits ignored.";
    case 38:
        return StandardMessage(ErrorId::RecordChanged).text;
    default:
        return {};
    }
}

Warning WarningOf(int number)
{
    using namespace MessageButton;
    switch (number) {
    case 1:
        return {number, Ok, MessageIcon::Stop, QStringLiteral("Invalid File")};
    case 2:
        return {number, Yes | No, MessageIcon::Question, QStringLiteral("Invalid Key")};
    case 3:
        return {number, Ok, MessageIcon::Stop, QStringLiteral("Key Rebuild Error")};
    case 4:
    case 5:
        return {number, Ok, MessageIcon::Stop, QStringLiteral("File Creation Error")};
    case 14:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("Record Insert Error")};
    case 15:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("Update Operation Error")};
    case 16:
    case 18:
        return {number, Yes | No, MessageIcon::Question, QStringLiteral("Record Update Error")};
    case 17:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("Delete Operation Error")};
    case 30:
        return {number, Ok, MessageIcon::Stop, QStringLiteral("File Access Error")};
    case 32:
        return {number, Ok | Cancel, MessageIcon::Question, QStringLiteral("Confirm Delete")};
    case 34:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("Transaction Framing Error")};
    case 35:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("Record Retrieval Error")};
    case 36:
        return {number, Ok, MessageIcon::Exclamation, QStringLiteral("View Open Error")};
    case 38:
        return {number, Ok, MessageIcon::Exclamation, StandardMessage(ErrorId::RecordChanged).caption};
    default:
        return {number, Ok, MessageIcon::Exclamation, QString()};
    }
}

} // namespace

Table& RecOrders()
{
    return Data().table;
}

TableRelations& RecOrdersRelations()
{
    return Data().relations;
}

RecOrdersValues& RecOrdersThread()
{
    return CurrentContext().Slot<RecOrdersValues>();
}

int RecOrdersWarning(int number, const QString& error, const QString& word, const QString& file)
{
    const Warning warning = WarningOf(number);
    const int defaultButton = warning.buttons & MessageButton::Yes ? MessageButton::Yes : MessageButton::Ok;
    return ShowMessageBox(warning.buttons, warning.icon, warning.caption,
                          WarningText(number, error, word, file), defaultButton);
}

bool OpenRecOrders()
{
    Table& table = RecOrders();
    // The file of the data folder in use; a folder chosen later takes effect once every window has let go.
    if (!table.FileIsOpen())
        table.SetFilePath(DocumentDataFolder() + QStringLiteral("RECORDER"));
    Status status = table.Open();
    if (status.Code() == StoreError::Locked)
        status = table.Open();
    if (status)
        return true;
    RecOrdersWarning(status.Code() == StoreError::FileCreateError ? 4 : 30, status.Message(), {},
                     table.FilePath());
    return false;
}

void CloseRecOrders()
{
    RecOrders().Close();
}

} // namespace jornix
