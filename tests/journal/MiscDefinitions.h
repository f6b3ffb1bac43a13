#pragma once

// Definitions of the user-defined fields of log events, written straight into MiscFields for a test.

#include "core/DataLayer.h"
#include "journal/MiscFieldControls.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

#include <QString>
#include <QtTest>

#include <vector>

namespace jornix::test {

// One field's definition.
struct Definition
{
    int field = 0;
    int type = MiscControlType::TextBox;
    QString prompt;
    QString defaultValue;
    QString list;
    QString picture = QStringLiteral("@s255");
    bool shown = true;
};

// Writes the definitions of a record type (log events unless told): these fields, the others hidden;
// without a row, none at all.
inline void Define(const std::vector<Definition>& fields, bool row = true,
                   int recordType = MiscRecordType::LogEvent)
{
    QCOMPARE(RelationsMSC->Open(), 0);
    AccessMSC->GetTable().ClearBuffer();
    AccessMSC->Buffer().SetValue(QStringLiteral("MSC:MiscType"), recordType);
    const int key = AccessMSC->GetTable().KeyIndex(QStringLiteral("MSC:MiscTypeK"));
    if (AccessMSC->FetchQuiet(key) == 0)
        QCOMPARE(AccessMSC->DeleteRecord(), 0);
    if (row) {
        AccessMSC->PrepareRecord();
        AccessMSC->Buffer().SetValue(QStringLiteral("MSC:MiscType"), recordType);
        for (const Definition& d : fields) {
            const QString f = QStringLiteral("MSC:F%1").arg(d.field);
            AccessMSC->Buffer().SetValue(f + "Show", d.shown ? 1 : 0);
            AccessMSC->Buffer().SetValue(f + "Type", d.type);
            AccessMSC->Buffer().SetValue(f + "Prompt", d.prompt);
            AccessMSC->Buffer().SetValue(f + "DefVal", d.defaultValue);
            AccessMSC->Buffer().SetValue(f + "List", d.list);
            AccessMSC->Buffer().SetValue(f + "Picture", d.picture);
        }
        QCOMPARE(AccessMSC->InsertQuiet(), 0);
    }
    RelationsMSC->Close();
}

} // namespace jornix::test
