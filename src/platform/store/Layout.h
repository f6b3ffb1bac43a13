#pragma once

#include <QString>

#include <vector>

// What a table is made of: fields with their types and widths, keys with their components and flags, and the
// attributes of the record file that holds it.
namespace jornix {

enum class FieldType
{
    Byte,   // unsigned 8 bits
    Short,  // signed 16 bits
    Long,   // signed 32 bits; also dates (day numbers) and times
    Real,   // 8-byte floating point
    String, // text of at most `width` characters, kept without trailing blanks
    Memo,   // text kept outside the record, at most `width` characters
    Blob    // bytes of any length
};

struct FieldDef
{
    QString name;   // full name with the table's prefix, as declared: "LOG:LogDate"
    QString column; // the SQL column: the name without its prefix
    FieldType type = FieldType::Long;
    int width = 0; // characters of a String or Memo; 0 for the others

    bool IsText() const { return type == FieldType::String || type == FieldType::Memo; }
    bool IsNumber() const
    {
        return type != FieldType::String && type != FieldType::Memo && type != FieldType::Blob;
    }
};

namespace KeyFlag {
enum : int
{
    Primary = 1, // the table's primary key
    Dup = 2,     // duplicate values allowed; a key without Dup is unique
    NoCase = 4,  // texts compare without regard to case
    Opt = 8      // a record whose components are all blank or 0 is left out of the key
};
}

struct KeyDef
{
    QString name;                // full name: "LOG:LogDateK"
    QString description;         // names the key in the duplicate-key message
    std::vector<int> components; // field numbers, all ascending
    int flags = 0;
    bool autoNumber = false; // its single component takes the next record number

    bool Unique() const { return !(flags & KeyFlag::Dup); }
    bool NoCase() const { return flags & KeyFlag::NoCase; }
    bool Opt() const { return flags & KeyFlag::Opt; }
};

namespace FileAttribute {
enum : int
{
    Encrypt = 1, // enciphered with the owner password
    Create = 2,  // created with its tables at the first open when it does not exist
    ReadOnly = 4 // opened read-only; never written, never created
};
}

} // namespace jornix
