#pragma once

#include "platform/store/Catalogue.h"

#include <QString>

namespace jornix {

// The merge token table MRG: rows that give a token of a merge document ("<<DATE>>", "{{SIGNATURE}}") a
// replacement text, which is evaluated as an expression over the merge record. A table of the record store,
// not enciphered, in a file named at run time that is opened for reading and writing and never created.
class MergeTokenTable
{
public:
    MergeTokenTable();
    ~MergeTokenTable(); // closes the table when it is open on the running thread
    MergeTokenTable(const MergeTokenTable&) = delete;
    MergeTokenTable& operator=(const MergeTokenTable&) = delete;

    // Declares the table's layout in a catalogue: MRG:Description (50), MRG:ReplacementText (500),
    // MRG:Token (100), MRG:FieldName (100), MRG:IsDeveloperOnly (byte); keys MRG:K_Description (duplicates,
    // case ignored), MRG:K_Token and MRG:K_FieldName (duplicates, empty values left out, case ignored).
    static Table& Declare(Catalogue& catalogue, int fileAttributes);

    // Opens the file (its name without trailing blanks, never cut short), closing the one open first.
    Status Open(const QString& fileName);
    void Close();
    bool IsOpen() const;
    // The replacement text of the first row of the token (case ignored); false when none has it or the
    // table is not open.
    bool ReplacementText(const QString& token, QString& text);

private:
    Catalogue catalogue_;
    Table& table_;
};

} // namespace jornix
