#pragma once

// What the benchmarks over a list share: the key of their enciphered files, the records written, the access a
// list window reads through, and the fonts and style warmed up first.

#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include <cstdio>
#include <functional>

namespace jornix::bench {

// The key the benchmarks' enciphered files are made with.
inline void UseBenchKey()
{
    SetOwnerPassword(QStringLiteral("BENCHM{00000000-0000-0000-0000-000000000000}BENCHM"),
                     "salt of the benchmarks key");
}

// The enciphered contacts table of the list benchmarks, made anew: the number, the names and the company that
// every list shows; the caller adds its other fields and keys.
inline Table& ContactsTable(Catalogue& catalogue)
{
    return catalogue.AddTable("CON", "Contacts", "Contacts", FileAttribute::Encrypt | FileAttribute::Create)
        .AddLong("Num")
        .AddString("LName", 255)
        .AddString("FName", 255)
        .AddString("Company", 255);
}

// Writes records numbered 1 to `count` (the number in field 0) in one transaction, `values` filling the other
// fields of each; false, with the store's message printed, when an insert fails.
inline bool WriteNumbered(Table& table, int count, const std::function<void(Record&, int)>& values)
{
    Transaction transaction(table);
    transaction.Begin();
    for (int number = 1; number <= count; ++number) {
        Record& buffer = table.Buffer();
        buffer.Clear();
        buffer.SetValue(0, number);
        values(buffer, number);
        if (Status status = table.Insert(); !status) {
            std::printf("insert failed: %s\n", qPrintable(status.Message()));
            return false;
        }
    }
    transaction.Commit();
    return true;
}

// The file access and relations of a table, as the program gives them a list window.
struct ListAccess
{
    explicit ListAccess(Table& table)
    {
        errors.Init();
        access.Init(table, errors);
        relations.Init(access, false);
    }

    ErrorReporter errors;
    FileManager access;
    TableRelations relations;
};

// The program has drawn its frame before any list opens: a list drawn once warms the fonts and the style.
inline void WarmUp()
{
    WindowController warm(QStringLiteral("Warm"), QStringLiteral("Frame"), WindowType::Child);
    warm.window.List({{"Name", {}, Qt::AlignLeft}});
    warm.window.Root()->resize(800, 600);
    warm.window.Root()->show();
    warm.window.Root()->grab();
}

} // namespace jornix::bench
