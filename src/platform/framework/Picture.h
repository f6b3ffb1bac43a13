#pragma once

#include <QString>
#include <QVariant>

// Display pictures of entries and displays: how a value is shown and how typed text is read back.
//   @s30     text of at most 30 characters
//   @n-7     whole number in 7 places, may be negative; @n10.2 two decimals; a trailing B shows 0 as blank
//   @d17     date (a day number) in the desktop locale's short format; every date picture shows that format;
//            B shows day 0 as blank, and a blank entry reads as day 0
//   @t1      time (hundredths of a second since midnight plus 1) in the locale's short format; B as for dates
// Pictures are written with or without the "@" and in either case.
namespace jornix {

class Picture
{
public:
    enum class Kind
    {
        Text,
        Number,
        Date,
        Time
    };

    Picture() = default;
    explicit Picture(const QString& text);

    Kind PictureKind() const { return kind_; }
    int Width() const { return width_; } // characters a text takes, places of a number; 0 for no limit
    int Decimals() const { return decimals_; }
    bool Signed() const { return signed_; }
    bool BlankWhenZero() const { return blank_; }

    QString Format(const QVariant& value) const;
    // The value of a typed text; false when the text does not fit the picture (letters in a number, a date
    // that is no date). A text longer than its width is cut.
    bool Parse(const QString& text, QVariant& value) const;
    // Whether a typed text reads as a whole value from minimum to maximum (a spin box's number or date).
    bool ReadsWithin(const QString& text, qint64 minimum, qint64 maximum) const;
    // What a control says of a text that does not fit the picture.
    QString NotValidText(const QString& typed) const;

private:
    Kind kind_ = Kind::Text;
    int width_ = 0;
    int decimals_ = 0;
    bool signed_ = false;
    bool blank_ = false;
};

} // namespace jornix
