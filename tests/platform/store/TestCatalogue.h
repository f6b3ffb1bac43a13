#pragma once

#include "platform/store/Catalogue.h"

#include <QTemporaryDir>

// A small catalogue for the store's tests: two tables in one enciphered file, a plain file, a file that is
// never created and a read-only one.
namespace jornix::test {

inline constexpr auto TestPassword = "TESTPW{00000000-1111-2222-3333-444444444444}TESTPW";

struct TestCatalogue
{
    QTemporaryDir folder;
    Catalogue catalogue;
    Table& people;
    Table& notes;
    Table& plain;
    Table& fixed;
    Table& archive;

    TestCatalogue()
        : people(
              catalogue.AddTable("PEO:", "Main", "People", FileAttribute::Encrypt | FileAttribute::Create)),
          notes(catalogue.AddTable("NTE:", "Main", "Notes", FileAttribute::Encrypt | FileAttribute::Create)),
          plain(catalogue.AddTable("PLN:", "Plain", "Plain", FileAttribute::Create)),
          fixed(catalogue.AddTable("FIX:", "Fixed", "Fixed", 0)),
          archive(catalogue.AddTable("ARC:", "", "People", FileAttribute::ReadOnly))
    {
        SetOwnerPassword(QString::fromLatin1(TestPassword), "salt of the tests key");
        const int keyFlags = KeyFlag::NoCase | KeyFlag::Opt;
        people.AddLong("Num")
            .AddString("Login", 10)
            .AddString("Name", 30)
            .AddLong("Born")
            .AddShort("Rank")
            .AddByte("Flag")
            .AddReal("Score")
            .AddMemo("Notes", 50)
            .AddBlob("Photo")
            .AddKey("NumK", {"Num"}, KeyFlag::Primary | keyFlags, "by Number", true)
            .AddKey("LoginK", {"Login"}, keyFlags, "by Login")
            .AddKey("NameK", {"Name", "Born"}, KeyFlag::Dup | keyFlags, "by Name")
            .AddKey("BornK", {"Born"}, KeyFlag::Dup | keyFlags, "PEO:BornK");
        notes.AddLong("Num")
            .AddString("Text", 20)
            .AddKey("NumK", {"Num"}, KeyFlag::Primary | keyFlags, "by Note", true);
        for (Table* table : {&plain, &fixed})
            table->AddLong("Num")
                .AddString("Text", 20)
                .AddKey("NumK", {"Num"}, KeyFlag::Primary | keyFlags, "by Num", true);
        // The same layout as People, read from a file chosen at run time.
        archive.AddLong("Num")
            .AddString("Login", 10)
            .AddString("Name", 30)
            .AddLong("Born")
            .AddShort("Rank")
            .AddByte("Flag")
            .AddReal("Score")
            .AddMemo("Notes", 50)
            .AddBlob("Photo")
            .AddKey("NumK", {"Num"}, KeyFlag::Primary | keyFlags, "by Number");
        catalogue.SetFolder(folder.path());
    }

    QString Path(const QString& name) const { return folder.filePath(name); }

    // Adds a person; returns the store's answer.
    static Status AddPerson(Table& table, qint32 num, const QString& login, const QString& name,
                            qint32 born = 0)
    {
        table.ClearBuffer();
        Record& buffer = table.Buffer();
        buffer.SetValue("PEO:Num", num);
        buffer.SetValue("PEO:Login", login);
        buffer.SetValue("PEO:Name", name);
        buffer.SetValue("PEO:Born", born);
        return table.Insert();
    }
};

} // namespace jornix::test
